#pragma once
// The Russian texts of the valve check's verdicts and reasons, in one place,
// so that the window, the sizing sheet, a schedule and a report word them
// alike. UTF-8. Numbers in the composed lines have two decimals and the
// process decimal separator, as the window's result lines.
#include "core/valvecheck.h"

#include <string>
#include <vector>

const std::string &reasonText(CheckReason reason);
const std::string &authorityVerdictText(AuthorityVerdict verdict);
const std::string &cavitationVerdictText(CavitationVerdict verdict);
const std::string &rowKindText(RowKind kind);

// "a = 0.71: авторитет хороший", or the verdict that takes its place
// ("клапан мал: …"), or the reason there is no authority.
std::string authorityLine(const ValveRow &row);

// "нет кавитации: перепад 0.71 атм не больше допустимого 1.09 атм",
// "опасность кавитации: перепад 1.20 атм больше допустимого 1.09 атм",
// or the reason there is no verdict.
std::string cavitationLine(const CavitationCheck &check);

// How a verdict reads at a glance. Whatever shows it may colour it; the
// words alone carry the meaning.
enum class VerdictTone { Neutral, Good, Caution, Bad };
VerdictTone authorityTone(const ValveRow &row);
VerdictTone cavitationTone(const CavitationCheck &check);

// The decimals the check's inputs are entered and shown with.
constexpr int kHeatLoadDecimals = 3;
constexpr int kTemperatureDecimals = 1;
constexpr int kInletPressureDecimals = 2;
constexpr int kCavitationZDecimals = 2;

// A Kvy as the series writes it: "16", "6.3", "0.16".
std::string kvyText(double kvyM3h);

// One row of the check, worded.
struct CheckRowTexts {
    double kvyM3h = 0;
    std::string kvy;         // kvyText
    std::string kind;        // rowKindText
    std::string loss;        // the actual loss, "0.71"
    std::string authority;   // authorityLine
    std::string designPoint; // cavitationLine at the design point
    std::string closing;     // cavitationLine when closing
    VerdictTone authorityTone = VerdictTone::Neutral;
    VerdictTone designPointTone = VerdictTone::Neutral;
    VerdictTone closingTone = VerdictTone::Neutral;
};

// The whole check of a circuit, worded: what the window shows and the
// sizing sheet prints.
struct CheckTexts {
    // "Qт = 1.000 Гкал/ч, t1 = 150.0 °C, t2 = 70.0 °C, P1 = 6.00 атм, z = 0.50"
    std::string inputs;
    // "Расход через клапан G = 13.47 м3/ч", or the reason there is none
    std::string flow;
    VerdictTone flowTone = VerdictTone::Neutral;
    // "Kv = 15.06 м3/ч, располагаемый перепад 1.00 атм", or the reason
    // there are no rows
    std::string series;
    // "Допустимый перепад ΔPкав = 1.09 атм (z = 0.50, Pнас = 4.85 атм абс.)",
    // or the reason there is none
    std::string limit;
    VerdictTone limitTone = VerdictTone::Neutral;
    std::vector<CheckRowTexts> rows;
};

CheckTexts checkTexts(const ValveCheck &check, const CheckInputs &inputs);
