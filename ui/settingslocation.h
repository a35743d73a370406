#pragma once
// Where the main window keeps settings.ini.
#include <QString>

// The directory of the executable, ending with "/": where settings.ini is
// looked for first.
QString executableDirectory();

// For tests only: the directory windows created from now on take in place
// of the executable's (ending "/" is added when missing); an empty text
// restores the executable's directory. The program itself never calls it.
void setExecutableDirectoryOverride(const QString &dir);

// The settings file of a program whose executable lies in `exeDir` (ending
// with "/"): settings.ini beside the executable while that folder takes new
// files or that file may be written; otherwise, as for a program installed
// system-wide, settings.ini in the per-user configuration folder
// ($XDG_CONFIG_HOME/zelton, by default ~/.config/zelton). That folder is
// made when missing, and a new per-user file starts as a copy of the
// settings.ini beside the executable when there is one (site defaults).
// Failures here are left to the first save, whose error names the file.
QString chooseSettingsPath(const QString &exeDir);

// The per-user configuration folder, without a final "/".
QString userConfigDirectory();
