#include "core/settings.h"

#include "core/checkinputs.h"
#include "core/inifile.h"
#include "core/sizing.h"
#include "core/sizingrecord.h"
#include "core/textfile.h"

void LoadSettings(const std::string &path)
{
    // a directory of that name is not the file
    if (!fileEntryExists(path)) {
        ResetSettings(path);
        return;
    }
    // An overflowing value raises there: the fields before it keep their
    // new values, it and the ones after it their old ones.
    readSizingKeys(TIniFile(path), sizing(), checkInputs(1), checkInputs(2));
}

void SaveSettings(const std::string &path)
{
    TIniFile ini(path);
    // All keys go to the file in one write of the whole file.
    ini.BeginUpdate();
    for (const ProfileEntry &entry : sizingKeyEntries(sizing(), checkInputs(1), checkInputs(2)))
        ini.WriteString(entry.section, entry.key, entry.value);
    ini.EndUpdate();
}

void ResetSettings(const std::string &path)
{
    sizing().LastSys = 0;
    zeroCircuitInputs(1);
    zeroCircuitInputs(2);
    clearCheckInputs();
    SaveSettings(path);
}
