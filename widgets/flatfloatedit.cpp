#include "widgets/flatfloatedit.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>
#include <string>

#include "core/numtext.h"
#include "widgets/focusbackrequest.h"

// ---------------------------------------------------------------------------
// TCustomFlatFloatEdit

TCustomFlatFloatEdit::TCustomFlatFloatEdit(QWidget *parent) : TCustomFlatEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TCustomFlatFloatEdit::OnChange);
    m_alignment = taRightJustify;
    m_minValue = 0;
    m_maxValue = 100.0L;
    m_decimals = 2;
    m_separatorChar = decimalSeparator();
    setAcceptDrops(false); // text enters through the key filter or a paste
    applyAlignment();
    setText(formatValue(m_minValue));
}

TCustomFlatFloatEdit::~TCustomFlatFloatEdit() = default;

QString TCustomFlatFloatEdit::formatValue(long double x) const
{
    return QString::fromStdString(formatFixed(x, m_decimals));
}

namespace {
bool convertText(const QString &text, long double &out)
{
    const std::string s = text.toStdString();
    return ParseSettingsValue(s, out);
}
} // namespace

long double TCustomFlatFloatEdit::ValueL() const
{
    long double v = 0;
    if (convertText(text(), v))
        return v;
    return m_minValue;
}

long double TCustomFlatFloatEdit::ClampToRange(long double x) const
{
    if (m_minValue == m_maxValue)
        return x;
    if (x < m_minValue)
        return m_minValue;
    if (x > m_maxValue)
        return m_maxValue;
    return x;
}

void TCustomFlatFloatEdit::setTextIfDifferent(const QString &t)
{
    if (t != text())
        setText(t);
}

void TCustomFlatFloatEdit::setValueL(long double x) { setTextIfDifferent(formatValue(ClampToRange(x))); }

void TCustomFlatFloatEdit::setMinValueL(long double x)
{
    // A NaN limit would make every comparison false and let any text pass.
    if (std::isnan(x) || x == m_minValue)
        return;
    if (m_maxValue < x)
        m_maxValue = x;
    m_minValue = x;
}

void TCustomFlatFloatEdit::setMaxValueL(long double x)
{
    if (std::isnan(x) || x == m_maxValue)
        return;
    if (x < m_minValue)
        m_minValue = x;
    m_maxValue = x;
}

void TCustomFlatFloatEdit::setDecimals(int n)
{
    if (n == m_decimals)
        return;
    m_decimals = n < 0 ? 0 : (n > kMaxDecimals ? kMaxDecimals : n);
    setValueL(ValueL());
}

void TCustomFlatFloatEdit::setAlignment(TAlignment a)
{
    if (a == m_alignment)
        return;
    m_alignment = a;
    applyAlignment();
}

void TCustomFlatFloatEdit::applyAlignment()
{
    Qt::Alignment h = Qt::AlignLeft;
    if (m_alignment == taRightJustify)
        h = Qt::AlignRight;
    else if (m_alignment == taCenter)
        h = Qt::AlignHCenter;
    QLineEdit::setAlignment(h | Qt::AlignVCenter);
}

// --- key filter -------------------------------------------------------------

CharVerdict TCustomFlatFloatEdit::verdictOn(QChar k) const
{
    KeyFilterInput field;
    field.text = text();
    field.selectionStart = cursorPosition();
    if (hasSelectedText()) {
        field.selectionStart = selectionStart();
        field.selectionLength = selectionLength();
    }
    field.separator = m_separatorChar;
    field.decimals = m_decimals;
    field.negativeAllowed = m_minValue < 0;
    return filterChar(k, field);
}

void TCustomFlatFloatEdit::typeChar(QChar k)
{
    const CharVerdict res = isReadOnly() ? CharVerdict::Reject : verdictOn(k);
    emit OnKeyPress(k);
    switch (res) {
    case CharVerdict::Accept:
        insert(QString(k));
        break;
    case CharVerdict::Reject:
        break;
    case CharVerdict::RewriteMinus:
        // "-" alone becomes "-0" with the 0 selected, so the next digit replaces it.
        setText(QStringLiteral("-0"));
        setSelection(1, 1);
        break;
    case CharVerdict::RewriteSeparator:
        // The separator alone becomes "0.0" with the last 0 selected.
        setText(QStringLiteral("0") + QChar::fromLatin1(m_separatorChar) + QStringLiteral("0"));
        setSelection(2, 1);
        break;
    }
}

void TCustomFlatFloatEdit::keyPressEvent(QKeyEvent *e)
{
    emit OnKeyDown(e->key(), e->modifiers());
    if (isSystemChar(e)) {
        e->ignore(); // left to the window (menu and button accelerators)
        return;
    }
    const QString chars = typedChars(e);
    if (chars.isEmpty()) {
        QLineEdit::keyPressEvent(e); // navigation, Delete, shortcuts without a character
        return;
    }
    if (chars.contains(u'\r') || chars.contains(u'\n')) {
        e->accept(); // Enter and line feed: no character, no sound
        return;
    }
    if (chars.size() == 1 && chars.at(0).unicode() == kEsc) {
        setValueL(m_entryValue);
        selectAll();
        emit OnKeyPress(chars.at(0));
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (chars.size() == 1 && chars.at(0).unicode() < 32) {
        emit OnKeyPress(chars.at(0)); // Backspace, clipboard and undo shortcuts
        if (chars.at(0) == u'\b' && e->key() != Qt::Key_Backspace) {
            // Ctrl+H types the Backspace character, which acts as Backspace.
            if (!isReadOnly())
                backspace();
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
        return;
    }
    for (QChar c : chars) {
        if (c.unicode() < 32)
            emit OnKeyPress(c);
        else
            typeChar(c);
    }
    e->accept();
}

void TCustomFlatFloatEdit::keyReleaseEvent(QKeyEvent *e)
{
    if (!e->isAutoRepeat())
        emit OnKeyUp(e->key(), e->modifiers());
    QLineEdit::keyReleaseEvent(e);
}

void TCustomFlatFloatEdit::inputMethodEvent(QInputMethodEvent *e)
{
    const QString commit = e->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    const bool hasPreedit = !e->preeditString().isEmpty();
    // First end the old composition (and apply a replacement, if any) ...
    {
        QInputMethodEvent head(QString(), hasPreedit ? QList<QInputMethodEvent::Attribute>() : e->attributes());
        if (e->replacementLength() != 0)
            head.setCommitString(QString(), e->replacementStart(), e->replacementLength());
        QLineEdit::inputMethodEvent(&head);
    }
    // ... then type the committed text one character at a time ...
    for (QChar c : commit) {
        if (c.unicode() == u'\r' || c.unicode() == u'\n')
            continue;
        if (c.unicode() < 32 || c.unicode() == 127)
            emit OnKeyPress(c);
        else
            typeChar(c);
    }
    // ... and show the new composition.
    if (hasPreedit) {
        QInputMethodEvent tail(e->preeditString(), e->attributes());
        QLineEdit::inputMethodEvent(&tail);
    }
    e->accept();
}

// --- mouse ------------------------------------------------------------------

namespace {
bool pastesSelection(const QMouseEvent *e)
{
    return e->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection();
}
} // namespace

void TCustomFlatFloatEdit::mousePressEvent(QMouseEvent *e)
{
    // The paste goes where Ctrl+V would put it: over the selection, or at
    // the caret; the press does not move them.
    if (pastesSelection(e)) {
        e->accept();
        return;
    }
    TCustomFlatEdit::mousePressEvent(e);
}

void TCustomFlatFloatEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (!pastesSelection(e)) {
        TCustomFlatEdit::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    // As Ctrl+V: the paste character passes the key filter unfiltered, then
    // the text replaces the selection; the exit check judges it.
    emit OnKeyPress(QChar(kPaste));
    const QString clip = QApplication::clipboard()->text(QClipboard::Selection);
    if (!isReadOnly() && (!clip.isEmpty() || hasSelectedText()))
        insert(clip);
}

// --- focus --------------------------------------------------------------------

void TCustomFlatFloatEdit::focusInEvent(QFocusEvent *e)
{
    TCustomFlatEdit::focusInEvent(e);
    if (m_refocusing || lastEntryWasRegain())
        return;
    m_entryValue = ValueL();
    emit OnEnter();
}

void TCustomFlatFloatEdit::focusOutEvent(QFocusEvent *e)
{
    const bool wasEntered = hasEntered();
    TCustomFlatEdit::focusOutEvent(e);
    if (isWindowOrPopupReason(e->reason()) || !wasEntered)
        return;
    if (!exitCheck())
        refocusAfterReject();
}

bool TCustomFlatFloatEdit::exitCheck()
{
    QString taken = text();
    if (taken.isEmpty())
        taken = formatValue(m_minValue);
    emit OnExit();
    long double v = 0;
    if (!convertText(taken, v) || v < m_minValue || v > m_maxValue) {
        emit OnError();
        setValueL(m_entryValue);
        selectAll();
        return false;
    }
    setTextIfDifferent(formatValue(v));
    setValueL(ValueL());
    emit OnExit();
    return true;
}

void TCustomFlatFloatEdit::refocusAfterReject()
{
    // Take the focus back at once when the field can hold it; the check
    // after the current event also covers a field whose page is being
    // switched away (it is hidden while the switch runs).
    if (isVisible() && isEnabled() && isActiveWindow()) {
        m_refocusing = true;
        setFocus(Qt::OtherFocusReason);
        m_refocusing = false;
        selectAll();
    }
    if (!m_refocusQueued) {
        m_refocusQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_refocusQueued = false;
                takeFocusBack();
            },
            Qt::QueuedConnection);
    }
}

void TCustomFlatFloatEdit::takeFocusBack()
{
    if (!isEnabled() || !isActiveWindow())
        return;
    if (QApplication::focusWidget() == this && isVisible())
        return;
    // Whether the page holding the field comes back is for the page controls
    // above it to decide, the innermost first.
    FocusBackRequest request(this);
    for (QWidget *w = parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
        QCoreApplication::sendEvent(w, &request);
    if (!isVisible())
        return;
    m_refocusing = true;
    setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
    selectAll();
}

// ---------------------------------------------------------------------------
// TFlatFloatEdit

TFlatFloatEdit::TFlatFloatEdit(QWidget *parent) : TCustomFlatFloatEdit(parent) {}

TFlatFloatEdit::~TFlatFloatEdit() = default;
