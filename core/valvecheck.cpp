#include "core/valvecheck.h"

#include "core/sizing.h"
#include "core/water.h"

#include <algorithm>

namespace {

constexpr double kAuthorityGood = 0.5;
constexpr double kAuthorityAcceptable = 0.3;
// A Kvy equal to Kv gives back dPкл up to the rounding of the square root
// and the square.
constexpr double kLossTolerance = 1e-12;

CheckReason reasonOf(WaterError error)
{
    switch (error) {
    case WaterError::None:
        return CheckReason::None;
    case WaterError::TemperatureBelowRange:
    case WaterError::TemperatureAboveRange:
        return CheckReason::TemperatureOutOfRange;
    case WaterError::PressureBelowSaturation:
        return CheckReason::Boiling;
    case WaterError::PressureAboveRange:
        break;
    }
    return CheckReason::PressureOutOfRange;
}

// Liquid water's temperature range, °C.
bool liquidTemperature(double celsius)
{
    const double k = kelvinFromCelsius(celsius);
    return k >= kWaterMinTemperatureK && k <= kLiquidMaxTemperatureK;
}

// The pressure a property of liquid water at `celsius` is taken at: `pressureMPa`,
// or the saturation pressure where that is higher.
double liquidPressureMPa(double pressureMPa, double celsius)
{
    return std::max(pressureMPa, saturationPressureMPa(kelvinFromCelsius(celsius)).value());
}

ValveRow valveRow(RowKind kind, double kvy, const CircuitValues &c, double available, const CavitationLimit &limit)
{
    ValveRow row;
    row.kind = kind;
    row.kvyM3h = kvy;
    row.actualLossAtm = actualLossAtm(c.Q, kvy);
    if (available > 0)
        row.authority = valveAuthority(row.actualLossAtm, available);
    else
        row.authorityReason = CheckReason::NoAvailableDrop;
    if (valveTooSmall(row.actualLossAtm, c.dPkl))
        row.verdict = AuthorityVerdict::ValveTooSmall;
    else if (available > 0)
        row.verdict = authorityVerdict(row.authority);
    row.designPoint.dropAtm = row.actualLossAtm;
    row.closing.dropAtm = available;
    for (CavitationCheck *check : {&row.designPoint, &row.closing}) {
        check->reason = limit.reason;
        check->allowedDropAtm = limit.allowedDropAtm;
        if (limit.reason == CheckReason::None)
            check->verdict = cavitationVerdict(check->dropAtm, limit.allowedDropAtm);
    }
    return row;
}

} // namespace

double absolutePressureKPa(double gaugeAtm) { return gaugeAtm * kKPaPerAtm + kAtmosphericPressureKPa; }

double absolutePressureMPa(double gaugeAtm) { return absolutePressureKPa(gaugeAtm) / 1000; }

double atmFromKPa(double kPa) { return kPa / kKPaPerAtm; }

double valveTemperatureC(Scheme scheme, double t1C, double t2C) { return scheme == Scheme::Dependent ? t1C : t2C; }

FlowFromHeatLoad flowFromHeatLoad(Scheme scheme, double heatLoadGcalH, double t1C, double t2C, double inletGaugeAtm)
{
    FlowFromHeatLoad f;
    if (!(heatLoadGcalH > 0)) {
        f.reason = CheckReason::HeatLoadNotPositive;
        return f;
    }
    if (!(t1C > t2C)) {
        f.reason = CheckReason::SupplyNotAboveReturn;
        return f;
    }
    if (!liquidTemperature(t1C) || !liquidTemperature(t2C)) {
        f.reason = CheckReason::TemperatureOutOfRange;
        return f;
    }
    f.pressureAssumed = !(inletGaugeAtm > 0);
    f.pressureMPa = absolutePressureMPa(f.pressureAssumed ? kDefaultInletPressureAtm : inletGaugeAtm);
    const double tValve = valveTemperatureC(scheme, t1C, t2C);
    if (!f.pressureAssumed
        && boilsBeforeValve(inletGaugeAtm, 1000 * saturationPressureMPa(kelvinFromCelsius(tValve)).value())) {
        f.reason = CheckReason::Boiling;
        return f;
    }
    const WaterProperty h1 = specificEnthalpyKJPerKg(liquidPressureMPa(f.pressureMPa, t1C), kelvinFromCelsius(t1C));
    const WaterProperty h2 = specificEnthalpyKJPerKg(liquidPressureMPa(f.pressureMPa, t2C), kelvinFromCelsius(t2C));
    const WaterProperty v = specificVolumeM3PerKg(liquidPressureMPa(f.pressureMPa, tValve), kelvinFromCelsius(tValve));
    for (const WaterProperty *p : {&h1, &h2, &v})
        if (!p->ok()) {
            f.reason = reasonOf(p->error());
            return f;
        }
    f.supplyEnthalpyKJPerKg = h1.value();
    f.returnEnthalpyKJPerKg = h2.value();
    f.valveVolumeM3PerKg = v.value();
    // kg/h of water that carries the load, then its volume at the valve
    const double massKgH = heatLoadGcalH * kKJPerGcal / (f.supplyEnthalpyKJPerKg - f.returnEnthalpyKJPerKg);
    f.flowM3h = massKgH * f.valveVolumeM3PerKg;
    return f;
}

SeriesPick pickKvySeries(double kvM3h)
{
    SeriesPick pick;
    for (double value : kKvySeries) {
        if (value <= kvM3h)
            pick.below = value;
        if (value >= kvM3h && !pick.above)
            pick.above = value;
    }
    return pick;
}

bool isKvySeriesValue(double kvyM3h)
{
    return std::find(kKvySeries.begin(), kKvySeries.end(), kvyM3h) != kKvySeries.end();
}

double actualLossAtm(double flowM3h, double kvyM3h)
{
    // as the window's actual-loss line computes it, so that the chosen
    // Kvy's row shows the same number
    const long double q = static_cast<long double>(flowM3h) / kvyM3h;
    return static_cast<double>(q * q);
}

double availableDropAtm(Scheme scheme, double dPrAtm, double dPnAtm)
{
    return scheme == Scheme::Dependent ? dPrAtm + dPnAtm : dPrAtm;
}

double valveAuthority(double actualLossAtm, double availableDropAtm) { return actualLossAtm / availableDropAtm; }

AuthorityVerdict authorityVerdict(double authority)
{
    if (authority >= kAuthorityGood)
        return AuthorityVerdict::Good;
    if (authority >= kAuthorityAcceptable)
        return AuthorityVerdict::Acceptable;
    return AuthorityVerdict::Low;
}

bool valveTooSmall(double actualLossAtm, double valveDropAtm)
{
    return actualLossAtm > valveDropAtm * (1 + kLossTolerance);
}

double allowedCavitationDropAtm(double inletGaugeAtm, double saturationKPa, double z)
{
    return z * atmFromKPa(absolutePressureKPa(inletGaugeAtm) - saturationKPa);
}

CavitationVerdict cavitationVerdict(double dropAtm, double allowedDropAtm)
{
    return dropAtm <= allowedDropAtm ? CavitationVerdict::NoCavitation : CavitationVerdict::Danger;
}

bool boilsBeforeValve(double inletGaugeAtm, double saturationKPa)
{
    return absolutePressureKPa(inletGaugeAtm) <= saturationKPa;
}

CavitationLimit cavitationLimit(Scheme scheme, const CheckInputs &inputs)
{
    CavitationLimit limit;
    limit.z = effectiveCavitationZ(inputs.z);
    if (!(inputs.P1 > 0)) {
        limit.reason = CheckReason::NoInletPressure;
        return limit;
    }
    const double tValve = valveTemperatureC(scheme, inputs.t1, inputs.t2);
    if (!liquidTemperature(tValve)) {
        limit.reason = CheckReason::TemperatureOutOfRange;
        return limit;
    }
    limit.inletAbsoluteKPa = absolutePressureKPa(inputs.P1);
    if (!(limit.inletAbsoluteKPa <= 1000 * kWaterMaxPressureMPa)) {
        limit.reason = CheckReason::PressureOutOfRange;
        return limit;
    }
    limit.saturationKPa = 1000 * saturationPressureMPa(kelvinFromCelsius(tValve)).value();
    if (boilsBeforeValve(inputs.P1, limit.saturationKPa)) {
        limit.reason = CheckReason::Boiling;
        return limit;
    }
    limit.allowedDropAtm = allowedCavitationDropAtm(inputs.P1, limit.saturationKPa, limit.z);
    return limit;
}

CircuitValues circuitValues(const SizingState &s, int circuit)
{
    if (circuit == 1)
        return {Scheme::Dependent, s.dPr1, s.dPn, s.dPkl1, s.Kv1, s.Q1, s.Kvy1};
    return {Scheme::Independent, s.dPr2, 0, s.dPkl2, s.Kv2, s.Q2, s.Kvy2};
}

ValveCheck evaluateValveCheck(const CircuitValues &c, const CheckInputs &inputs)
{
    ValveCheck check;
    check.scheme = c.scheme;
    check.flow = flowFromHeatLoad(c.scheme, inputs.HeatLoad, inputs.t1, inputs.t2, inputs.P1);
    check.cavitation = cavitationLimit(c.scheme, inputs);
    check.availableDropAtm = availableDropAtm(c.scheme, c.dPr, c.dPn);
    if (!(c.dPkl > 0)) {
        check.rowsReason = CheckReason::NoValveDrop;
        return check;
    }
    check.kvM3h = c.Kv;
    check.series = pickKvySeries(c.Kv);
    const std::optional<double> &below = check.series.below;
    const std::optional<double> &above = check.series.above;
    if (below && above && *below == *above) {
        check.rows.push_back(valveRow(RowKind::Exact, *below, c, check.availableDropAtm, check.cavitation));
    } else {
        if (below)
            check.rows.push_back(valveRow(RowKind::Below, *below, c, check.availableDropAtm, check.cavitation));
        if (above)
            check.rows.push_back(valveRow(RowKind::Above, *above, c, check.availableDropAtm, check.cavitation));
    }
    if (c.Kvy > 0) {
        for (const ValveRow &row : check.rows)
            if (row.kvyM3h == c.Kvy)
                check.chosen = row;
        if (!check.chosen) {
            check.rows.push_back(valveRow(RowKind::Chosen, c.Kvy, c, check.availableDropAtm, check.cavitation));
            check.chosen = check.rows.back();
        }
    }
    return check;
}

ValveCheck evaluateValveCheck(int circuit)
{
    return evaluateValveCheck(circuitValues(sizing(), circuit), checkInputs(circuit));
}

ValveCheck evaluateValveCheck(int circuit, double chosenKvyM3h)
{
    CircuitValues values = circuitValues(sizing(), circuit);
    values.Kvy = chosenKvyM3h;
    return evaluateValveCheck(values, checkInputs(circuit));
}
