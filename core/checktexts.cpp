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
