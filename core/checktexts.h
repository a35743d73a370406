#pragma once
// The Russian texts of the valve check's verdicts and reasons, in one place,
// so that the window, the sizing sheet, a schedule and a report word them
// alike. UTF-8. Numbers in the composed lines have two decimals and the
// process decimal separator, as the window's result lines.
#include "core/valvecheck.h"

#include <string>

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
