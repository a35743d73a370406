#include "core/settings.h"

#include "core/checkinputs.h"
#include "core/inifile.h"
#include "core/sizing.h"

#include <sys/stat.h>

namespace {

constexpr const char *kMain = "Main";
constexpr const char *kValues = "Values";
constexpr const char *kChecks = "Checks";

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

struct PersistedCheck {
    const char *key;
    int circuit;
    double CheckInputs::*field;
};

// The valve check's inputs, after the original keys.
constexpr PersistedCheck kCheckKeys[] = {
    {"HeatLoad1", 1, &CheckInputs::HeatLoad},
    {"t1_1", 1, &CheckInputs::t1},
    {"t2_1", 1, &CheckInputs::t2},
    {"P1_1", 1, &CheckInputs::P1},
    {"z1", 1, &CheckInputs::z},
    {"HeatLoad2", 2, &CheckInputs::HeatLoad},
    {"t1_2", 2, &CheckInputs::t1},
    {"t2_2", 2, &CheckInputs::t2},
    {"P1_2", 2, &CheckInputs::P1},
    {"z2", 2, &CheckInputs::z},
};

// A missing or unreadable value reads as the empty input: 0, or 0.5 for z;
// so does a z outside 0.2..0.9, 0 included, which the check would not use.
double readCheck(const TIniFile &ini, const PersistedCheck &c)
{
    if (c.field != &CheckInputs::z)
        return ini.ReadFloat(kChecks, c.key, 0);
    return effectiveCavitationZ(ini.ReadFloat(kChecks, c.key, kDefaultCavitationZ));
}

// A directory of that name is not the file.
bool settingsFileExists(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace

void LoadSettings(const std::string &path)
{
    if (!settingsFileExists(path)) {
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
    for (const PersistedCheck &c : kCheckKeys)
        checkInputs(c.circuit).*c.field = readCheck(ini, c);
}

void SaveSettings(const std::string &path)
{
    TIniFile ini(path);
    const SizingState &s = sizing();
    // All keys go to the file in one write of the whole file.
    ini.BeginUpdate();
    ini.WriteInteger(kMain, "LastSys", s.LastSys);
    for (const PersistedValue &v : kValueKeys)
        ini.WriteFloat(kValues, v.key, s.*v.field);
    for (const PersistedCheck &c : kCheckKeys)
        ini.WriteFloat(kChecks, c.key, checkInputs(c.circuit).*c.field);
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
