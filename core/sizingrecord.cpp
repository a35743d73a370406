#include "core/sizingrecord.h"

#include "core/errors.h"
#include "core/numtext.h"

#include <string>

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

} // namespace

SizingRecord currentSizingRecord() { return {sizing(), checkInputs(1), checkInputs(2)}; }

void makeCurrent(const SizingRecord &record)
{
    sizing() = record.sizing;
    checkInputs(1) = record.checks1;
    checkInputs(2) = record.checks2;
}

void readSizingKeys(const TIniFile &ini, SizingState &sizing, CheckInputs &checks1, CheckInputs &checks2,
                    SizingKey *failed)
{
    sizing.LastSys = static_cast<std::uint8_t>(ini.ReadInteger(kMain, "LastSys", 0) & 0xFF);
    SizingKey reading;
    try {
        for (const PersistedValue &v : kValueKeys) {
            reading = {kValues, v.key};
            sizing.*v.field = ini.ReadFloat(kValues, v.key, 0);
        }
        for (const PersistedCheck &c : kCheckKeys) {
            reading = {kChecks, c.key};
            CheckInputs &inputs = c.circuit == 1 ? checks1 : checks2;
            inputs.*c.field = readCheck(ini, c);
        }
    } catch (const EOverflow &) {
        if (failed)
            *failed = reading;
        throw;
    }
}

std::vector<ProfileEntry> sizingKeyEntries(const SizingState &sizing, const CheckInputs &checks1,
                                           const CheckInputs &checks2)
{
    std::vector<ProfileEntry> entries;
    entries.push_back({kMain, "LastSys", std::to_string(sizing.LastSys)});
    for (const PersistedValue &v : kValueKeys)
        entries.push_back({kValues, v.key, FormatSettingsValue(sizing.*v.field)});
    for (const PersistedCheck &c : kCheckKeys) {
        const CheckInputs &inputs = c.circuit == 1 ? checks1 : checks2;
        entries.push_back({kChecks, c.key, FormatSettingsValue(inputs.*c.field)});
    }
    return entries;
}
