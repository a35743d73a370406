#include "core/sizing.h"

#include "core/numtext.h"

#include <cmath>

// The formulas run with extended intermediates; each field is rounded to
// double once, when it is stored. storeDouble raises on a result beyond the
// double range, as the floating-point environment does on a store.

SizingState &sizing()
{
    static SizingState state;
    return state;
}

void zeroCircuitInputs(int circuit)
{
    SizingState &s = sizing();
    if (circuit == 1) {
        s.dPr1 = s.dPf1 = s.dPppr1 = s.dPs = s.dPtr1 = s.dPdr1 = s.dPn = 0;
        s.Q1 = s.Kvy1 = 0;
    } else {
        s.dPr2 = s.dPf2 = s.dPppr2 = s.dPt = s.dPtr2 = s.dPdr2 = 0;
        s.Q2 = s.Kvy2 = 0;
    }
}

void computeValveDrop1()
{
    SizingState &s = sizing();
    long double r = static_cast<long double>(s.dPr1) - 2.0L * s.dPf1;
    r -= s.dPppr1;
    r -= s.dPs;
    r -= s.dPtr1;
    r -= s.dPdr1;
    r += s.dPn;
    s.dPkl1 = storeDouble(r);
}

void computeValveDrop2()
{
    SizingState &s = sizing();
    long double r = static_cast<long double>(s.dPr2) - s.dPf2;
    r -= s.dPppr2;
    r -= s.dPt;
    r -= s.dPtr2;
    r -= s.dPdr2;
    s.dPkl2 = storeDouble(r);
}

namespace {

bool computeCapacity(double dPkl, double Q, double &Kv, double &Kvy)
{
    if (!(dPkl > 0))
        return false;
    Kv = storeDouble(static_cast<long double>(Q) / std::sqrt(static_cast<long double>(dPkl)));
    Kvy = TruncateTowardZero(Kv);
    return true;
}

bool computeActualLoss(double Q, double Kvy, double &dPklReal)
{
    if (!(Kvy > 0))
        return false;
    const long double q = static_cast<long double>(Q) / Kvy;
    dPklReal = storeDouble(q * q);
    return true;
}

} // namespace

bool computeCapacity1()
{
    SizingState &s = sizing();
    return computeCapacity(s.dPkl1, s.Q1, s.Kv1, s.Kvy1);
}

bool computeCapacity2()
{
    SizingState &s = sizing();
    return computeCapacity(s.dPkl2, s.Q2, s.Kv2, s.Kvy2);
}

bool computeActualLoss1()
{
    SizingState &s = sizing();
    return computeActualLoss(s.Q1, s.Kvy1, s.dPklReal1);
}

bool computeActualLoss2()
{
    SizingState &s = sizing();
    return computeActualLoss(s.Q2, s.Kvy2, s.dPklReal2);
}
