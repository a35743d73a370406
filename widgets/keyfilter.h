#pragma once
// What a key press types into the numeric entry field, and the field's
// filter of typed characters: functions of the key event and of the
// field's text alone, which tests call without a field.
#include <QChar>
#include <QString>

class QKeyEvent;

// Control characters the field treats by name.
inline constexpr char16_t kEsc = 27;
inline constexpr char16_t kPaste = 22; // the character of Ctrl+V
inline constexpr char16_t kDel = 127;  // the character of Ctrl+Backspace

// Alt with a key that gives a character (without Ctrl: Ctrl+Alt is AltGr on
// some systems) is a system key, which types nothing.
bool isSystemChar(const QKeyEvent *e);

// The characters a key press produces, as the classic character messages
// would: Enter gives CR, Esc gives ESC, Ctrl+letter a control code (Ctrl+H
// the Backspace character), Ctrl+Backspace DEL; keys without a character
// (arrows, Delete, function keys) give none.
QString typedChars(const QKeyEvent *e);

// The filter's verdict on one typed printable character.
enum class CharVerdict {
    Accept,          // inserted over the selection (or at the caret)
    Reject,          // dropped
    RewriteMinus,    // "-" alone: the text becomes "-0" with the 0 selected
    RewriteSeparator // the separator alone: "0.0" with the last 0 selected
};

// What the filter judges a character against.
struct KeyFilterInput {
    QString text;
    int selectionStart = 0; // the caret when nothing is selected
    int selectionLength = 0;
    char separator = '.';
    int decimals = 2;
    bool negativeAllowed = false; // the field's MinValue lies below zero
};

CharVerdict filterChar(QChar typed, const KeyFilterInput &field);
