#include "ui/inputtable.h"

#include <algorithm>

#include "ui_Form_Main.h"

namespace {

using F = Ui::Form_Main;
using S = SizingState;

// The rows in the order of the input grid. The columns: the field, the value
// it holds, the circuit, whether it is the Kvy field, its place in the push
// and its place in the pull. The table is laid out by hand, one row a line.
// clang-format off
constexpr InputRow kCircuit1Inputs[] = {
    {&F::FlEdt_dPr1,      &S::dPr1,    1, false, 2, 2},
    {&F::FlEdt_dPf1,      &S::dPf1,    1, false, 4, 3},
    {&F::FlEdt_dPppr1,    &S::dPppr1,  1, false, 5, 4},
    {&F::FlEdt_dPs,       &S::dPs,     1, false, 6, 5},
    {&F::FlEdt_dPtr1,     &S::dPtr1,   1, false, 7, 6},
    {&F::FlEdt_dPdr1,     &S::dPdr1,   1, false, 8, 7},
    {&F::FlEdt_dPn,       &S::dPn,     1, false, 9, 8},
    {&F::FlEdt_Q1,        &S::Q1,      1, false, 3, 1},
    {&F::FlEdt_Kvy1,      &S::Kvy1,    1, true,  1, 9},
};

constexpr InputRow kCircuit2Inputs[] = {
    {&F::FlEdt_dPr2,      &S::dPr2,    2, false, 2, 2},
    {&F::FlEdt_dPf2,      &S::dPf2,    2, false, 4, 3},
    {&F::FlEdt_dPppr2,    &S::dPppr2,  2, false, 5, 4},
    {&F::FlEdt_dPt,       &S::dPt,     2, false, 6, 5},
    {&F::FlEdt_dPtr2,     &S::dPtr2,   2, false, 7, 6},
    {&F::FlEdt_dPdr2,     &S::dPdr2,   2, false, 8, 7},
    {&F::FlEdt_Q2,        &S::Q2,      2, false, 3, 1},
    {&F::FlEdt_Kvy2,      &S::Kvy2,    2, true,  1, 8},
};
// clang-format on

std::vector<const InputRow *> inOrder(int InputRow::*rank)
{
    std::vector<const InputRow *> rows;
    for (int circuit : {1, 2}) {
        const std::size_t first = rows.size();
        for (const InputRow &row : inputsOf(circuit))
            rows.push_back(&row);
        std::sort(rows.begin() + std::ptrdiff_t(first), rows.end(),
                  [rank](const InputRow *a, const InputRow *b) { return a->*rank < b->*rank; });
    }
    return rows;
}

} // namespace

std::span<const InputRow> inputsOf(int circuit)
{
    if (circuit == 1)
        return kCircuit1Inputs;
    return kCircuit2Inputs;
}

std::vector<const InputRow *> inPushOrder() { return inOrder(&InputRow::pushRank); }

std::vector<const InputRow *> inPullOrder() { return inOrder(&InputRow::pullRank); }

const InputRow *rowOfField(const Ui::Form_Main &ui, const TFlatFloatEdit *field)
{
    for (int circuit : {1, 2})
        for (const InputRow &row : inputsOf(circuit))
            if (ui.*row.field == field)
                return &row;
    return nullptr;
}

const InputRow &nextInGrid(const InputRow &row)
{
    const std::span<const InputRow> rows = inputsOf(row.circuit);
    const std::size_t next = std::size_t(&row - rows.data()) + 1;
    return rows[next < rows.size() ? next : 0];
}
