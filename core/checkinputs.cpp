#include "core/checkinputs.h"

namespace {

CheckInputs g_circuits[2];

} // namespace

CheckInputs &checkInputs(int circuit) { return g_circuits[circuit == 1 ? 0 : 1]; }

void clearCheckInputs()
{
    g_circuits[0] = CheckInputs{};
    g_circuits[1] = CheckInputs{};
}

double effectiveCavitationZ(double z) { return z >= kMinCavitationZ && z <= kMaxCavitationZ ? z : kDefaultCavitationZ; }

bool anyCheckInputSet(const CheckInputs &inputs)
{
    return inputs.HeatLoad != 0 || inputs.t1 != 0 || inputs.t2 != 0 || inputs.P1 != 0
           || effectiveCavitationZ(inputs.z) != kDefaultCavitationZ;
}
