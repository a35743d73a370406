#pragma once
// The seventeen keys of [Values] in settings.ini, in the order the file
// holds them, and the SizingState field each one holds. Written out here
// apart from the program's own table, so that two entries swapped there
// show in the tests.
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
