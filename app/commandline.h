#pragma once
// The program's command line, read at start-up (QCommandLineParser):
//
//   zelton [FILE.zelton]                     the window, with the sizing
//                                            file loaded when one is given
//   zelton --sheet FILE.pdf [--circuit 1|2] [FILE.zelton]
//                                            writes the sizing sheet of the
//                                            sizing file, or of the inputs
//                                            in the settings file
//   zelton --schedule FILE.pdf FILE.zelton...
//                                            writes the valve schedule of
//                                            the sizing files
//   zelton --report [--format text|csv|json] [FILE.zelton...]
//                                            prints the report of the
//                                            sizing files (or of the
//                                            settings file)
//   zelton --help | --version
//
// Qt's own options (-platform, -style, -session and the others that
// QApplication takes) are passed on to Qt, as in any Qt program. The sheet
// is written without a window on screen and without a display. The manual
// page beside this file (zelton.1) documents the same options as the help
// text; a test compares the two.
#include <QString>
#include <QStringList>

#include "core/report.h"

// What the arguments ask for.
struct CommandLine {
    enum class Action { Window, Help, Version, Sheet, Schedule, Report, Error };
    Action action = Action::Window;
    QString sheetPath;
    QString schedulePath;
    QStringList sizingFiles; // of the schedule and the report, as given
    ReportFormat reportFormat = ReportFormat::Text;
    int circuit = 0;            // 0: the circuit of the page stored in the file
    QString sizingFile;         // the sizing file, as a full path; empty: none
    QStringList toolkitOptions; // Qt's own options, as QApplication takes them
    QString error;              // for Action::Error: what is wrong
};

// The arguments after the program's name.
CommandLine parseCommandLine(const QStringList &arguments);

// The arguments of main() after the program's name, as text.
QStringList commandLineArguments(int argc, char **argv);

// Runs what the command line asks for, except the window (Action::Window):
// the exit code. 0 done, 2 a bad argument, a file that is not a sizing
// file or an output that could not be written (the reason on stderr).
int runCommand(const CommandLine &command);
