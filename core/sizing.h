#pragma once
// The one process-wide record of both circuits' inputs and results.
#include <cstdint>

struct SizingState {
    // dependent circuit: the seven drops are one contiguous run
    double dPr1 = 0, dPf1 = 0, dPppr1 = 0, dPs = 0, dPtr1 = 0, dPdr1 = 0, dPn = 0;
    double Q1 = 0, Kvy1 = 0;
    double dPkl1 = 0, Kv1 = 0, dPklReal1 = 0;
    // independent circuit: the six drops are one contiguous run
    double dPr2 = 0, dPf2 = 0, dPppr2 = 0, dPt = 0, dPtr2 = 0, dPdr2 = 0;
    double Q2 = 0, Kvy2 = 0;
    double dPkl2 = 0, Kv2 = 0, dPklReal2 = 0;
    std::uint8_t LastSys = 0;
};

SizingState &sizing();

// Sets the persisted inputs of circuit 1 (dependent) or 2 (independent) to
// zero: the run of its drops, its flow and its Kvy. The derived values and
// LastSys stay.
void zeroCircuitInputs(int circuit);

void computeValveDrop1();
void computeValveDrop2();
bool computeCapacity1();
bool computeCapacity2();
bool computeActualLoss1();
bool computeActualLoss2();
