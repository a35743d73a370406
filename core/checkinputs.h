#pragma once
// The one process-wide record of the valve check's inputs of both circuits,
// kept beside the sizing state and persisted in settings.ini ("Checks").
// Units as the check window takes them: heat load in Гкал/ч, temperatures
// in °C, the pressure before the valve in атм gauge, z without unit.

constexpr double kDefaultCavitationZ = 0.5;
constexpr double kMinCavitationZ = 0.2;
constexpr double kMaxCavitationZ = 0.9;

struct CheckInputs {
    double HeatLoad = 0;            // Гкал/ч; not given when 0
    double t1 = 0;                  // supply temperature of the network, °C; not given when 0
    double t2 = 0;                  // return temperature of the network, °C; not given when 0
    double P1 = 0;                  // pressure before the valve, атм gauge; not given when <= 0
    double z = kDefaultCavitationZ; // the valve's cavitation coefficient
};

// Circuit 1 (dependent) or 2 (independent).
CheckInputs &checkInputs(int circuit);

// Both circuits' inputs back to the empty ones (z 0.5).
void clearCheckInputs();

// The coefficient the check uses: z itself from 0.2 to 0.9, otherwise 0.5.
double effectiveCavitationZ(double z);

// True when any input differs from the empty one (a z outside 0.2..0.9
// counts as the default 0.5).
bool anyCheckInputSet(const CheckInputs &inputs);
