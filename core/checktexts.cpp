#include "core/checktexts.h"

#include "core/numtext.h"

const std::string &reasonText(CheckReason reason)
{
    static const std::string kTexts[] = {
        "",
        "нет расхода: тепловая нагрузка должна быть больше нуля",
        "нет расхода: температура подачи t1 должна быть выше температуры обратной воды t2",
        "нет Kv: перепад на полностью открытом клапане dPкл должен быть больше нуля",
        "нет авторитета: располагаемый перепад должен быть больше нуля",
        "введите давление перед клапаном P1",
        "вода кипит перед клапаном: давление P1 не выше давления насыщения",
        "температура вне диапазона свойств воды: от 0.01 до 350 °C",
        "давление вне диапазона свойств воды: не выше 100 МПа",
    };
    return kTexts[static_cast<int>(reason)];
}

const std::string &authorityVerdictText(AuthorityVerdict verdict)
{
    static const std::string kTexts[] = {
        "авторитет хороший",
        "авторитет допустимый",
        "авторитет низкий",
        "клапан мал: расчётный расход не будет достигнут",
        "",
    };
    return kTexts[static_cast<int>(verdict)];
}

const std::string &cavitationVerdictText(CavitationVerdict verdict)
{
    static const std::string kTexts[] = {"нет кавитации", "опасность кавитации"};
    return kTexts[static_cast<int>(verdict)];
}

const std::string &rowKindText(RowKind kind)
{
    static const std::string kTexts[] = {"ближайший меньший", "ближайший больший", "равен Kv", "выбранный"};
    return kTexts[static_cast<int>(kind)];
}

std::string authorityLine(const ValveRow &row)
{
    if (row.verdict == AuthorityVerdict::ValveTooSmall)
        return authorityVerdictText(row.verdict);
    if (row.verdict == AuthorityVerdict::NotComputed)
        return reasonText(row.authorityReason);
    return "a = " + FormatTwoDecimals(row.authority) + ": " + authorityVerdictText(row.verdict);
}

std::string cavitationLine(const CavitationCheck &check)
{
    if (check.reason != CheckReason::None)
        return reasonText(check.reason);
    const std::string drop = FormatTwoDecimals(check.dropAtm) + " атм";
    const std::string allowed = FormatTwoDecimals(check.allowedDropAtm) + " атм";
    if (check.verdict == CavitationVerdict::NoCavitation)
        return cavitationVerdictText(check.verdict) + ": перепад " + drop + " не больше допустимого " + allowed;
    return cavitationVerdictText(check.verdict) + ": перепад " + drop + " больше допустимого " + allowed;
}

VerdictTone authorityTone(const ValveRow &row)
{
    switch (row.verdict) {
    case AuthorityVerdict::Good:
        return VerdictTone::Good;
    case AuthorityVerdict::Acceptable:
        return VerdictTone::Caution;
    case AuthorityVerdict::Low:
    case AuthorityVerdict::ValveTooSmall:
        return VerdictTone::Bad;
    case AuthorityVerdict::NotComputed:
        break;
    }
    return VerdictTone::Neutral;
}

VerdictTone cavitationTone(const CavitationCheck &check)
{
    if (check.reason == CheckReason::Boiling)
        return VerdictTone::Bad;
    if (check.reason != CheckReason::None)
        return VerdictTone::Neutral;
    return check.verdict == CavitationVerdict::NoCavitation ? VerdictTone::Good : VerdictTone::Bad;
}

std::string kvyText(double kvyM3h) { return FormatSettingsValue(kvyM3h); }

namespace {

// Where there is no value, the reason; boiling is a verdict of its own.
VerdictTone reasonTone(CheckReason reason)
{
    return reason == CheckReason::Boiling ? VerdictTone::Bad : VerdictTone::Neutral;
}

std::string flowLine(const FlowFromHeatLoad &flow)
{
    if (flow.reason != CheckReason::None)
        return reasonText(flow.reason);
    std::string line = "Расход через клапан G = " + FormatTwoDecimals(flow.flowM3h) + " м3/ч";
    if (flow.pressureAssumed)
        line += " (свойства воды при " + FormatSettingsValue(kDefaultInletPressureAtm) + " атм: P1 не задано)";
    return line;
}

std::string seriesLine(const ValveCheck &check)
{
    if (check.rowsReason != CheckReason::None)
        return reasonText(check.rowsReason);
    return "Kv = " + FormatTwoDecimals(check.kvM3h) + " м3/ч, располагаемый перепад "
           + FormatTwoDecimals(check.availableDropAtm) + " атм";
}

std::string limitLine(const CavitationLimit &limit)
{
    if (limit.reason != CheckReason::None)
        return reasonText(limit.reason);
    return "Допустимый перепад ΔPкав = " + FormatTwoDecimals(limit.allowedDropAtm)
           + " атм (z = " + formatFixed(limit.z, kCavitationZDecimals)
           + ", Pнас = " + FormatTwoDecimals(atmFromKPa(limit.saturationKPa)) + " атм абс.)";
}

std::string inputsLine(const CheckInputs &in)
{
    return "Qт = " + formatFixed(in.HeatLoad, kHeatLoadDecimals) + " Гкал/ч, t1 = "
           + formatFixed(in.t1, kTemperatureDecimals) + " °C, t2 = " + formatFixed(in.t2, kTemperatureDecimals)
           + " °C, P1 = " + formatFixed(in.P1, kInletPressureDecimals)
           + " атм, z = " + formatFixed(effectiveCavitationZ(in.z), kCavitationZDecimals);
}

} // namespace

CheckTexts checkTexts(const ValveCheck &check, const CheckInputs &inputs)
{
    CheckTexts texts;
    texts.inputs = inputsLine(inputs);
    texts.flow = flowLine(check.flow);
    texts.flowTone = reasonTone(check.flow.reason);
    texts.series = seriesLine(check);
    texts.limit = limitLine(check.cavitation);
    texts.limitTone = reasonTone(check.cavitation.reason);
    texts.rows.reserve(check.rows.size());
    for (const ValveRow &row : check.rows) {
        CheckRowTexts r;
        r.kvyM3h = row.kvyM3h;
        r.kvy = kvyText(row.kvyM3h);
        r.kind = rowKindText(row.kind);
        r.loss = FormatTwoDecimals(row.actualLossAtm);
        r.authority = authorityLine(row);
        r.designPoint = cavitationLine(row.designPoint);
        r.closing = cavitationLine(row.closing);
        r.authorityTone = authorityTone(row);
        r.designPointTone = cavitationTone(row.designPoint);
        r.closingTone = cavitationTone(row.closing);
        texts.rows.push_back(std::move(r));
    }
    return texts;
}
