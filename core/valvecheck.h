#pragma once
// The check of a sized valve, in the units of the window: pressures and
// drops in атм (1 атм = 1 kgf/cm² = 98.0665 kPa), gauge unless named
// absolute (absolute = gauge + 101.325 kPa); temperatures in °C; flows and
// capacities in м3/ч; heat load in Гкал/ч (1 Гкал = 4186.8 MJ).
//
// evaluateValveCheck() is the one evaluation of a circuit: the flow from
// the heat load, the rows of the standard Kvy series around its Kv (and of
// the chosen Kvy), each with its actual loss, authority and cavitation
// verdicts, and the reason wherever something is not computed. Whatever
// shows the check (the window, the sizing sheet, a schedule, a report)
// shows the numbers and verdicts of this one result.
#include "core/checkinputs.h"

#include <array>
#include <optional>
#include <vector>

struct SizingState;

constexpr double kKPaPerAtm = 98.0665;
constexpr double kAtmosphericPressureKPa = 101.325;
constexpr double kKJPerGcal = 4186.8e3;
constexpr double kDefaultInletPressureAtm = 6; // gauge, where the pressure before the valve is not given

// The Kvy values valves are made with, м3/ч.
constexpr std::array<double, 20> kKvySeries = {0.1, 0.16, 0.25, 0.4, 0.63, 1,   1.6, 2.5, 4,   6.3,
                                               10,  16,   25,   40,  63,   100, 160, 250, 400, 630};

// The valve sits on the supply line in the dependent scheme (circuit 1)
// and on the return line in the independent one (circuit 2).
enum class Scheme { Dependent, Independent };

// Why a part of the check is not computed; None where it is.
enum class CheckReason {
    None,
    HeatLoadNotPositive,   // no flow: heat load <= 0
    SupplyNotAboveReturn,  // no flow: t1 <= t2
    NoValveDrop,           // no Kv and no series rows: dPкл <= 0
    NoAvailableDrop,       // no authority: available drop <= 0
    NoInletPressure,       // no cavitation verdict: P1 not given
    Boiling,               // the water boils before the valve
    TemperatureOutOfRange, // outside the water properties: below 0.01 °C or above 350 °C
    PressureOutOfRange,    // outside the water properties: above 100 MPa absolute
};

enum class AuthorityVerdict {
    Good,          // a >= 0.5
    Acceptable,    // 0.3 <= a < 0.5
    Low,           // a < 0.3
    ValveTooSmall, // the actual loss exceeds dPкл: the design flow is not reached
    NotComputed,   // see the row's authorityReason
};

enum class CavitationVerdict { NoCavitation, Danger };

// --- Units -------------------------------------------------------------------

double absolutePressureKPa(double gaugeAtm);
double absolutePressureMPa(double gaugeAtm);
double atmFromKPa(double kPa);

// --- Flow from the heat load -------------------------------------------------

// The water temperature at the valve, °C: t1 in the dependent scheme, t2 in
// the independent one.
double valveTemperatureC(Scheme scheme, double t1C, double t2C);

struct FlowFromHeatLoad {
    CheckReason reason = CheckReason::None;
    double flowM3h = 0; // G
    // the values it comes from, where computed
    double pressureMPa = 0; // absolute: before the valve, or the default 6 атм gauge
    bool pressureAssumed = false;
    double supplyEnthalpyKJPerKg = 0; // h(t1)
    double returnEnthalpyKJPerKg = 0; // h(t2)
    double valveVolumeM3PerKg = 0;    // v at the valve's temperature
};

// G = Q / (h(t1) - h(t2)) * v(t at the valve), м3/ч. The enthalpies are
// taken at the pressure before the valve (6 атм gauge where inletGaugeAtm
// <= 0), or at the saturation pressure of their temperature where that is
// higher: the supply water of the independent scheme is liquid on its own
// line, whatever the pressure on the return line.
FlowFromHeatLoad flowFromHeatLoad(Scheme scheme, double heatLoadGcalH, double t1C, double t2C, double inletGaugeAtm);

// --- The standard Kvy series ---------------------------------------------

struct SeriesPick {
    std::optional<double> below; // the largest series value <= Kv
    std::optional<double> above; // the smallest series value >= Kv
};
SeriesPick pickKvySeries(double kvM3h);
bool isKvySeriesValue(double kvyM3h);

// --- Authority ---------------------------------------------------------------

// (Q / Kvy)², атм.
double actualLossAtm(double flowM3h, double kvyM3h);
// dPr + dPn in the dependent scheme, dPr in the independent one, атм.
double availableDropAtm(Scheme scheme, double dPrAtm, double dPnAtm);
// a = actual loss / available drop.
double valveAuthority(double actualLossAtm, double availableDropAtm);
AuthorityVerdict authorityVerdict(double authority);
// The actual loss exceeds the drop left for the fully open valve.
bool valveTooSmall(double actualLossAtm, double valveDropAtm);

// --- Cavitation --------------------------------------------------------------

// ΔPкав = z · (P1 absolute − Psat), атм.
double allowedCavitationDropAtm(double inletGaugeAtm, double saturationKPa, double z);
// A drop up to the allowed one does not cavitate.
CavitationVerdict cavitationVerdict(double dropAtm, double allowedDropAtm);
// The absolute pressure before the valve at or below the saturation pressure.
bool boilsBeforeValve(double inletGaugeAtm, double saturationKPa);

struct CavitationLimit {
    CheckReason reason = CheckReason::None;
    double z = kDefaultCavitationZ; // the coefficient used
    double inletAbsoluteKPa = 0;
    double saturationKPa = 0;  // Psat at the valve's temperature
    double allowedDropAtm = 0; // ΔPкав
};
CavitationLimit cavitationLimit(Scheme scheme, const CheckInputs &inputs);

struct CavitationCheck {
    CheckReason reason = CheckReason::None; // the limit's reason, when there is no verdict
    CavitationVerdict verdict = CavitationVerdict::NoCavitation;
    double dropAtm = 0;
    double allowedDropAtm = 0;
};

// --- One evaluation of a circuit ------------------------------------------

// What the check reads of a circuit's sizing.
struct CircuitValues {
    Scheme scheme = Scheme::Dependent;
    double dPr = 0;  // атм
    double dPn = 0;  // атм, the dependent scheme's pump
    double dPkl = 0; // the drop left for the fully open valve, атм
    double Kv = 0;   // м3/ч, meaningful where dPkl > 0
    double Q = 0;    // м3/ч
    double Kvy = 0;  // the chosen Kvy, м3/ч
};
// Circuit 1 (dependent) or 2 (independent) of a sizing state, its results
// as the window last computed them.
CircuitValues circuitValues(const SizingState &state, int circuit);

enum class RowKind {
    Below,  // the series value just below Kv
    Above,  // the series value just above Kv
    Exact,  // Kv is a series value
    Chosen, // the chosen Kvy, neither of those
};

struct ValveRow {
    RowKind kind = RowKind::Chosen;
    double kvyM3h = 0;
    double actualLossAtm = 0;
    CheckReason authorityReason = CheckReason::None; // NoAvailableDrop where not computed
    double authority = 0;
    AuthorityVerdict verdict = AuthorityVerdict::NotComputed;
    CavitationCheck designPoint; // the actual loss against ΔPкав
    CavitationCheck closing;     // the available drop against ΔPкав
};

struct ValveCheck {
    Scheme scheme = Scheme::Dependent;
    FlowFromHeatLoad flow;
    CheckReason rowsReason = CheckReason::None; // NoValveDrop where there are no rows
    double kvM3h = 0;
    SeriesPick series;
    double availableDropAtm = 0;
    CavitationLimit cavitation;
    // The rows to show: below and above (one Exact row where Kv is a series
    // value), then the chosen Kvy where it is neither.
    std::vector<ValveRow> rows;
    // The row of the chosen Kvy (one of the rows), where Kvy > 0.
    std::optional<ValveRow> chosen;
};

ValveCheck evaluateValveCheck(const CircuitValues &circuit, const CheckInputs &inputs);
// The circuit from sizing() and checkInputs().
ValveCheck evaluateValveCheck(int circuit);
// The same with `chosenKvyM3h` as the chosen Kvy: the value of the
// window's Kvy field, which a view of the window shows. (The capacity step
// puts its suggestion into the sizing state's Kvy even where the field
// keeps a larger Kvy the user chose.)
ValveCheck evaluateValveCheck(int circuit, double chosenKvyM3h);
