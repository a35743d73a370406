#include "core/sizing.h"

#include "core/numtext.h"

#include <cmath>

// The formulas run with extended intermediates; each field is rounded to
// double once, when it is stored. StoreDouble raises on a result beyond the
// double range, as the floating-point environment does on a store.

SizingState &Sizing()
{
    static SizingState state;
    return state;
}

void zeroCircuitInputs(int circuit)
{
    SizingState &s = Sizing();
    if (circuit == 1) {
        s.dPr1 = s.dPf1 = s.dPppr1 = s.dPs = s.dPtr1 = s.dPdr1 = s.dPn = 0;
        s.Q1 = s.Kvy1 = 0;
    } else {
        s.dPr2 = s.dPf2 = s.dPppr2 = s.dPt = s.dPtr2 = s.dPdr2 = 0;
        s.Q2 = s.Kvy2 = 0;
    }
}

void ComputeValveDrop1()
{
    SizingState &s = Sizing();
    long double r = static_cast<long double>(s.dPr1) - 2.0L * s.dPf1;
    r -= s.dPppr1;
    r -= s.dPs;
    r -= s.dPtr1;
    r -= s.dPdr1;
    r += s.dPn;
    s.dPkl1 = StoreDouble(r);
}

void ComputeValveDrop2()
{
    SizingState &s = Sizing();
    long double r = static_cast<long double>(s.dPr2) - s.dPf2;
    r -= s.dPppr2;
    r -= s.dPt;
    r -= s.dPtr2;
    r -= s.dPdr2;
    s.dPkl2 = StoreDouble(r);
}

namespace {

bool ComputeCapacity(double dPkl, double Q, double &Kv, double &Kvy)
{
    if (!(dPkl > 0))
        return false;
    Kv = StoreDouble(static_cast<long double>(Q) / std::sqrt(static_cast<long double>(dPkl)));
    Kvy = TruncateTowardZero(Kv);
    return true;
}

bool ComputeActualLoss(double Q, double Kvy, double &dPklReal)
{
    if (!(Kvy > 0))
        return false;
    const long double q = static_cast<long double>(Q) / Kvy;
    dPklReal = StoreDouble(q * q);
    return true;
}

} // namespace

bool ComputeCapacity1()
{
    SizingState &s = Sizing();
    return ComputeCapacity(s.dPkl1, s.Q1, s.Kv1, s.Kvy1);
}

bool ComputeCapacity2()
{
    SizingState &s = Sizing();
    return ComputeCapacity(s.dPkl2, s.Q2, s.Kv2, s.Kvy2);
}

bool ComputeActualLoss1()
{
    SizingState &s = Sizing();
    return ComputeActualLoss(s.Q1, s.Kvy1, s.dPklReal1);
}

bool ComputeActualLoss2()
{
    SizingState &s = Sizing();
    return ComputeActualLoss(s.Q2, s.Kvy2, s.dPklReal2);
}
