#pragma once
// What settings.ini and a sizing file (*.zelton) hold, in one format:
// section "Main" with LastSys, section "Values" with the seventeen inputs,
// then section "Checks" with the valve check's inputs of both circuits.
// One routine reads the keys, one lists them for writing; settings.ini
// (core/settings.h) and sizing files (core/sizingfile.h) both go through
// them.
#include "core/checkinputs.h"
#include "core/inifile.h"
#include "core/sizing.h"

#include <vector>

// The state a file holds, apart from the process-wide one: the sizing
// state (whose results the window recomputes) and the check inputs.
struct SizingRecord {
    SizingState sizing;
    CheckInputs checks1; // dependent circuit
    CheckInputs checks2; // independent circuit
};

// The process-wide state as a record, and a record made the process-wide
// state.
SizingRecord currentSizingRecord();
void makeCurrent(const SizingRecord &record);

// A key of the format.
struct SizingKey {
    const char *section = nullptr;
    const char *key = nullptr;
};

// Reads every key into the fields given, in the order of the file: a
// missing or unreadable value reads as 0 (z as 0.5, as does a z outside
// 0.2..0.9). A value beyond the double range raises EOverflow there: the
// fields before it keep their new values, it and the ones after it their
// old ones, and `failed` (when given) names its key.
void readSizingKeys(const TIniFile &ini, SizingState &sizing, CheckInputs &checks1, CheckInputs &checks2,
                    SizingKey *failed = nullptr);

// Every key with its value text, in the order of writing.
std::vector<ProfileEntry> sizingKeyEntries(const SizingState &sizing, const CheckInputs &checks1,
                                           const CheckInputs &checks2);
