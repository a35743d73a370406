#pragma once
// The seventeen keys of [Values] in settings.ini, in the order the file
// holds them, and the SizingState field each one holds. Written out here
// apart from the program's own table, so that two entries swapped there
// show in the tests.
#include "core/checkinputs.h"
#include "core/sizing.h"

#include <string_view>

inline const char *const kKeys[] = {"Q1", "dPr1", "dPf1", "dPppr1", "dPs", "dPtr1", "dPdr1", "dPn", "Kvy1",
                                    "Q2", "dPr2", "dPf2", "dPppr2", "dPt", "dPtr2", "dPdr2", "Kvy2"};

inline double SizingState::*const kFields[] = {
    &SizingState::Q1,    &SizingState::dPr1,  &SizingState::dPf1,   &SizingState::dPppr1, &SizingState::dPs,
    &SizingState::dPtr1, &SizingState::dPdr1, &SizingState::dPn,    &SizingState::Kvy1,   &SizingState::Q2,
    &SizingState::dPr2,  &SizingState::dPf2,  &SizingState::dPppr2, &SizingState::dPt,    &SizingState::dPtr2,
    &SizingState::dPdr2, &SizingState::Kvy2};

// The first nine keys belong to the dependent circuit, the rest to the
// independent one.
constexpr int kKeysOfCircuit1 = 9;
constexpr int kKeyCount = 17;

// The place of `key` in kKeys, or -1.
inline int keyIndex(std::string_view key)
{
    for (int i = 0; i < kKeyCount; ++i)
        if (key == kKeys[i])
            return i;
    return -1;
}

// The ten keys of [Checks], after [Values], and the check input each holds.
struct CheckKey {
    const char *key;
    int circuit;
    double CheckInputs::*field;
};
inline const CheckKey kCheckKeys[] = {{"HeatLoad1", 1, &CheckInputs::HeatLoad},
                                      {"t1_1", 1, &CheckInputs::t1},
                                      {"t2_1", 1, &CheckInputs::t2},
                                      {"P1_1", 1, &CheckInputs::P1},
                                      {"z1", 1, &CheckInputs::z},
                                      {"HeatLoad2", 2, &CheckInputs::HeatLoad},
                                      {"t1_2", 2, &CheckInputs::t1},
                                      {"t2_2", 2, &CheckInputs::t2},
                                      {"P1_2", 2, &CheckInputs::P1},
                                      {"z2", 2, &CheckInputs::z}};

// The [Checks] section of a new file: zeros, z 0.5.
inline const char kEmptyChecks[] = "[Checks]\r\nHeatLoad1=0\r\nt1_1=0\r\nt2_1=0\r\nP1_1=0\r\nz1=0.5\r\n"
                                   "HeatLoad2=0\r\nt1_2=0\r\nt2_2=0\r\nP1_2=0\r\nz2=0.5\r\n";
