#pragma once
// The inputs of the main window: one ordered table per circuit, which field
// holds which value of the SizingState. Everything the window does with its
// inputs as a whole goes by these tables: filling the fields from the state
// (push), reading them back (pull), copying a changed field into the state,
// Enter moving on, and the clearing buttons.
#include <span>
#include <vector>

#include "core/sizing.h"

class TFlatFloatEdit;
namespace Ui {
class Form_Main;
}

struct InputRow {
    // The field of the window description.
    TFlatFloatEdit *Ui::Form_Main::*field;
    // The value of the SizingState it holds.
    double SizingState::*value;
    // 1 dependent, 2 independent.
    int circuit;
    // The Kvy field: a change recomputes only the actual loss; a change of
    // any other input recomputes the whole circuit.
    bool kvy;
    // Place in the push of the state into the fields. The Kvy comes first:
    // the recomputations the other fields then raise weigh the stored
    // choice, not the field's old text, against the suggestion.
    int pushRank;
    // Place in the pull of the fields into the state (the order of the
    // settings file).
    int pullRank;
};

// The inputs of circuit 1 or 2 in the order of its input grid: the left
// column top to bottom, the right column, then the Kvy field outside the
// group. Enter walks them in this order; the first is the field a cleared
// circuit focuses.
std::span<const InputRow> inputsOf(int circuit);

// Every input of both circuits in push (pull) order: circuit 1, then
// circuit 2.
std::vector<const InputRow *> inPushOrder();
std::vector<const InputRow *> inPullOrder();

// The row of `field` in `ui`, or none.
const InputRow *rowOfField(const Ui::Form_Main &ui, const TFlatFloatEdit *field);

// The row after `row` in its circuit's grid order, the first after the last.
const InputRow &nextInGrid(const InputRow &row);
