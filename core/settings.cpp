#include "core/settings.h"

#include "core/inifile.h"
#include "core/sizing.h"
#include "core/textfile.h"

namespace {

constexpr const char *kMain = "Main";
constexpr const char *kValues = "Values";

struct PersistedValue {
    const char *key;
    double SizingState::*field;
};

// The order of writing and of reading.
constexpr PersistedValue kValueKeys[] = {
    {"Q1", &SizingState::Q1},         {"dPr1", &SizingState::dPr1}, {"dPf1", &SizingState::dPf1},
    {"dPppr1", &SizingState::dPppr1}, {"dPs", &SizingState::dPs},   {"dPtr1", &SizingState::dPtr1},
    {"dPdr1", &SizingState::dPdr1},   {"dPn", &SizingState::dPn},   {"Kvy1", &SizingState::Kvy1},
    {"Q2", &SizingState::Q2},         {"dPr2", &SizingState::dPr2}, {"dPf2", &SizingState::dPf2},
    {"dPppr2", &SizingState::dPppr2}, {"dPt", &SizingState::dPt},   {"dPtr2", &SizingState::dPtr2},
    {"dPdr2", &SizingState::dPdr2},   {"Kvy2", &SizingState::Kvy2},
};

} // namespace

void LoadSettings(const std::string &path)
{
    // a directory of that name is not the file
    if (!fileEntryExists(path)) {
        ResetSettings(path);
        return;
    }
    TIniFile ini(path);
    SizingState &s = sizing();
    s.LastSys = static_cast<std::uint8_t>(ini.ReadInteger(kMain, "LastSys", 0) & 0xFF);
    // An overflowing value raises here: the fields before it keep their new
    // values, it and the ones after it their old ones.
    for (const PersistedValue &v : kValueKeys)
        s.*v.field = ini.ReadFloat(kValues, v.key, 0);
}

void SaveSettings(const std::string &path)
{
    TIniFile ini(path);
    const SizingState &s = sizing();
    // All eighteen keys go to the file in one write of the whole file.
    ini.BeginUpdate();
    ini.WriteInteger(kMain, "LastSys", s.LastSys);
    for (const PersistedValue &v : kValueKeys)
        ini.WriteFloat(kValues, v.key, s.*v.field);
    ini.EndUpdate();
}

void ResetSettings(const std::string &path)
{
    sizing().LastSys = 0;
    zeroCircuitInputs(1);
    zeroCircuitInputs(2);
    SaveSettings(path);
}
