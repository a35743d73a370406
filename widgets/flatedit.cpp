#include "widgets/flatedit.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabWidget>

#include <cmath>
#include <string>

#include "core/numtext.h"

// ---------------------------------------------------------------------------
// Border drawing

namespace {

void FillPixels(QPainter &p, int x, int y, int w, int h, const QColor &c)
{
    if (w > 0 && h > 0)
        p.fillRect(QRect(x, y, w, h), c);
}

// One-pixel outline along the edge of `r` (all four sides inside r).
void OutlineRect(QPainter &p, const QRect &r, const QColor &c)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    FillPixels(p, r.left(), r.top(), r.width(), 1, c);
    FillPixels(p, r.left(), r.bottom(), r.width(), 1, c);
    FillPixels(p, r.left(), r.top(), 1, r.height(), c);
    FillPixels(p, r.right(), r.top(), 1, r.height(), c);
}

// One-pixel 3-D edge along `r`: top and left in `lt`, then bottom and right
// in `rb` (so the top-right and bottom-left corner pixels are `rb`).
void EdgeRect(QPainter &p, const QRect &r, const QColor &lt, const QColor &rb)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    FillPixels(p, r.left(), r.top(), r.width(), 1, lt);
    FillPixels(p, r.left(), r.top(), 1, r.height(), lt);
    FillPixels(p, r.left(), r.bottom(), r.width(), 1, rb);
    FillPixels(p, r.right(), r.top(), 1, r.height(), rb);
}

} // namespace

void DrawFlatBorder(QPainter &p, TColor color, TColor borderColor, TFlatBorderStyle style,
                    const QRect &r)
{
    const QRect inner = r.adjusted(1, 1, -1, -1);
    switch (style) {
    case fbsLine:
        OutlineRect(p, r, ResolveColor(borderColor));
        break;
    case fbsActive:
        // Sunken one-pixel edge outside, button face inside.
        EdgeRect(p, r, ResolveColor(clBtnShadow), ResolveColor(clBtnHighlight));
        OutlineRect(p, inner, ResolveColor(clBtnFace));
        break;
    case fbsBackground:
        OutlineRect(p, r, ResolveColor(color));
        OutlineRect(p, inner, ResolveColor(color));
        break;
    case fbsStandard:
        // The classic two-pixel sunken edge.
        EdgeRect(p, r, ResolveColor(clBtnShadow), ResolveColor(clBtnHighlight));
        EdgeRect(p, inner, ResolveColor(cl3DDkShadow), ResolveColor(cl3DLight));
        break;
    case fbsNone:
        break;
    }
}

// ---------------------------------------------------------------------------
// TCustomFlatEdit

TCustomFlatEdit::TCustomFlatEdit(QWidget *parent) : QLineEdit(parent)
{
    // No frame of the style: the ring is ours, two pixels on every side,
    // whatever QStyle is in use.
    setFrame(false);
    setTextMargins(kFrameWidth, kFrameWidth, kFrameWidth, kFrameWidth);
    applyColor();
}

TCustomFlatEdit::~TCustomFlatEdit() = default;

void TCustomFlatEdit::setBorderColor(TColor value)
{
    if (value == m_borderColor)
        return;
    m_borderColor = value;
    if (m_flat)
        InvalidateFrame();
}

void TCustomFlatEdit::setFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    InvalidateFrame();
}

void TCustomFlatEdit::setShowBorder(bool value)
{
    if (value == m_showBorder)
        return;
    m_showBorder = value;
    InvalidateFrame();
}

QString TCustomFlatEdit::Version() const
{
    return QString::asprintf("%d.%d", (kVersionNumber >> 8) & 0xFF, kVersionNumber & 0xFF);
}

void TCustomFlatEdit::setColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    applyColor();
    InvalidateFrame();
}

void TCustomFlatEdit::applyColor()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ResolveColor(m_color));
    setPalette(pal);
}

TFlatBorderStyle TCustomFlatEdit::CurrentBorderStyle() const
{
    if (!m_flat)
        return fbsStandard;
    if (m_activate && (hasFocus() || m_mouseInside))
        return fbsActive;
    if (m_showBorder)
        return fbsLine;
    return fbsBackground;
}

void TCustomFlatEdit::InvalidateFrame()
{
    update();
}

void TCustomFlatEdit::paintEvent(QPaintEvent *e)
{
    QLineEdit::paintEvent(e);
    QPainter p(this);
    PaintFrame(p);
}

void TCustomFlatEdit::PaintFrame(QPainter &p)
{
    const QRect r = rect();
    // Both rings in the background colour first, then the chosen look.
    const QColor back = ResolveColor(m_color);
    OutlineRect(p, r, back);
    OutlineRect(p, r.adjusted(1, 1, -1, -1), back);
    DrawFlatBorder(p, m_color, m_borderColor, CurrentBorderStyle(), r);
}

void TCustomFlatEdit::enterEvent(QEnterEvent *e)
{
    QLineEdit::enterEvent(e);
    m_mouseInside = true;
    if (m_flat && m_activate)
        InvalidateFrame();
}

void TCustomFlatEdit::leaveEvent(QEvent *e)
{
    QLineEdit::leaveEvent(e);
    m_mouseInside = false;
    if (m_flat && m_activate)
        InvalidateFrame();
}

namespace {
bool IsWindowOrPopupReason(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
} // namespace

void TCustomFlatEdit::focusInEvent(QFocusEvent *e)
{
    const Qt::FocusReason reason = e->reason();
    const bool regain = m_entered && IsWindowOrPopupReason(reason);
    const bool leftClick =
        reason == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
    const bool keyboardEntry = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                               reason == Qt::ShortcutFocusReason;
    if (keyboardEntry && !m_autoSelect) {
        // QLineEdit selects on keyboard entry by itself; AutoSelect off says no.
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
    } else {
        QLineEdit::focusInEvent(e);
    }
    m_entered = true;
    m_lastEntryWasRegain = regain;
    if (!regain && m_autoSelect && !leftClick)
        selectAll();
    InvalidateFrame();
}

void TCustomFlatEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (!IsWindowOrPopupReason(e->reason()))
        m_entered = false;
    InvalidateFrame();
}

void TCustomFlatEdit::resizeEvent(QResizeEvent *e)
{
    QLineEdit::resizeEvent(e);
    InvalidateFrame();
}

// ---------------------------------------------------------------------------
// TCustomFlatFloatEdit

TCustomFlatFloatEdit::TCustomFlatFloatEdit(QWidget *parent) : TCustomFlatEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &TCustomFlatFloatEdit::OnChange);
    m_alignment = taRightJustify;
    m_minValue = 0;
    m_maxValue = 100.0L;
    m_decimals = 2;
    m_separatorChar = DecimalSeparator();
    setAcceptDrops(false); // text enters through the key filter or a paste
    ApplyAlignment();
    setText(FormatValue(m_minValue));
}

TCustomFlatFloatEdit::~TCustomFlatFloatEdit() = default;

QString TCustomFlatFloatEdit::FormatValue(long double x) const
{
    return QString::fromStdString(FormatFixed(x, m_decimals));
}

namespace {
bool ConvertText(const QString &text, long double &out)
{
    const std::string s = text.toStdString();
    return ParseSettingsValue(s, out);
}
} // namespace

long double TCustomFlatFloatEdit::ValueL() const
{
    long double v = 0;
    if (ConvertText(text(), v))
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

void TCustomFlatFloatEdit::SetTextIfDifferent(const QString &t)
{
    if (t != text())
        setText(t);
}

void TCustomFlatFloatEdit::setValueL(long double x)
{
    SetTextIfDifferent(FormatValue(ClampToRange(x)));
}

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
    ApplyAlignment();
}

void TCustomFlatFloatEdit::ApplyAlignment()
{
    Qt::Alignment h = Qt::AlignLeft;
    if (m_alignment == taRightJustify)
        h = Qt::AlignRight;
    else if (m_alignment == taCenter)
        h = Qt::AlignHCenter;
    QLineEdit::setAlignment(h | Qt::AlignVCenter);
}

// --- key filter -------------------------------------------------------------

namespace {

constexpr char16_t kEsc = 27;
constexpr char16_t kPaste = 22; // the character of Ctrl+V

// Alt with a key that gives a character (without Ctrl: Ctrl+Alt is AltGr on
// some systems) is a system key, which types nothing.
bool IsSystemChar(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !e->text().isEmpty()
           && e->text().at(0).unicode() >= 32;
}

// The characters a key press produces, as the classic character messages
// would: Enter gives CR, Esc gives ESC, Ctrl+letter a control code; keys
// without a character (arrows, Delete, function keys) give none.
QString KeyChars(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(u'\r'));
    case Qt::Key_Escape:
        return QString(QChar(kEsc));
    case Qt::Key_Backspace:
        return QString(QChar(u'\b'));
    case Qt::Key_Delete:
        return QString();
    default:
        break;
    }
    const QString text = e->text();
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (text.size() != 1)
            return QString();
        const char16_t c = text.at(0).unicode();
        if (c < 32)
            return text;
        if ((c >= u'a' && c <= u'z') || (c >= u'@' && c <= u'_'))
            return QString(QChar(char16_t(c & 0x1F)));
        return QString(); // Ctrl with a digit or sign types nothing
    }
    QString out;
    for (QChar c : text) {
        if (c.unicode() != 127) // DEL is not a typed character
            out.append(c);
    }
    return out;
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

TCustomFlatFloatEdit::CharResult TCustomFlatFloatEdit::FilterChar(QChar k) const
{
    const QChar sep = QChar::fromLatin1(m_separatorChar);
    const QString t = text();
    int selStart = cursorPosition();
    int selLen = 0;
    if (hasSelectedText()) {
        selStart = selectionStart();
        selLen = selectionLength();
    }
    const QString l = t.left(selStart);
    const QString r = t.mid(selStart + selLen);
    const QString s = l + r;
    const QString n = l + k + r;

    const bool special = k == u'-' || k == u'E' || k == u'e' || k == sep;
    if (!IsAsciiDigit(k) && !special)
        return CharResult::Reject;
    if (special && s.contains(k))
        return CharResult::Reject;
    if (k == u'-' && m_minValue >= 0)
        return CharResult::Reject;
    if (k == sep && m_decimals == 0)
        return CharResult::Reject;
    const qsizetype p = n.indexOf(sep);
    if (p >= 0 && n.size() - (p + 1) > m_decimals)
        return CharResult::Reject;
    if (k == u'-' && !l.isEmpty())
        return CharResult::Reject;
    if (n == QStringLiteral("-"))
        return CharResult::RewriteMinus;
    if (n == QString(sep))
        return CharResult::RewriteSeparator;
    return CharResult::Accept;
}

void TCustomFlatFloatEdit::TypeChar(QChar k)
{
    const CharResult res = isReadOnly() ? CharResult::Reject : FilterChar(k);
    emit OnKeyPress(k);
    switch (res) {
    case CharResult::Accept:
        insert(QString(k));
        break;
    case CharResult::Reject:
        break;
    case CharResult::RewriteMinus:
        // "-" alone becomes "-0" with the 0 selected, so the next digit replaces it.
        setText(QStringLiteral("-0"));
        setSelection(1, 1);
        break;
    case CharResult::RewriteSeparator:
        // The separator alone becomes "0.0" with the last 0 selected.
        setText(QStringLiteral("0") + QChar::fromLatin1(m_separatorChar) + QStringLiteral("0"));
        setSelection(2, 1);
        break;
    }
}

void TCustomFlatFloatEdit::keyPressEvent(QKeyEvent *e)
{
    emit OnKeyDown(e->key(), e->modifiers());
    if (IsSystemChar(e)) {
        e->ignore(); // left to the window (menu and button accelerators)
        return;
    }
    const QString chars = KeyChars(e);
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
        QLineEdit::keyPressEvent(e);
        return;
    }
    for (QChar c : chars) {
        if (c.unicode() < 32)
            emit OnKeyPress(c);
        else
            TypeChar(c);
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
        QInputMethodEvent head(QString(), hasPreedit ? QList<QInputMethodEvent::Attribute>()
                                                     : e->attributes());
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
            TypeChar(c);
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
bool PastesSelection(const QMouseEvent *e)
{
    return e->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection();
}
} // namespace

void TCustomFlatFloatEdit::mousePressEvent(QMouseEvent *e)
{
    // The paste goes where Ctrl+V would put it: over the selection, or at
    // the caret; the press does not move them.
    if (PastesSelection(e)) {
        e->accept();
        return;
    }
    TCustomFlatEdit::mousePressEvent(e);
}

void TCustomFlatFloatEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (!PastesSelection(e)) {
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
    if (m_refocusing || LastEntryWasRegain())
        return;
    m_entryValue = ValueL();
    emit OnEnter();
}

void TCustomFlatFloatEdit::focusOutEvent(QFocusEvent *e)
{
    const bool wasEntered = HasEntered();
    TCustomFlatEdit::focusOutEvent(e);
    if (IsWindowOrPopupReason(e->reason()) || !wasEntered)
        return;
    if (!ExitCheck())
        RefocusAfterReject();
}

bool TCustomFlatFloatEdit::ExitCheck()
{
    QString taken = text();
    if (taken.isEmpty())
        taken = FormatValue(m_minValue);
    emit OnExit();
    long double v = 0;
    if (!ConvertText(taken, v) || v < m_minValue || v > m_maxValue) {
        emit OnError();
        setValueL(m_entryValue);
        selectAll();
        return false;
    }
    SetTextIfDifferent(FormatValue(v));
    setValueL(ValueL());
    emit OnExit();
    return true;
}

void TCustomFlatFloatEdit::RefocusAfterReject()
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
                BringToFront();
            },
            Qt::QueuedConnection);
    }
}

void TCustomFlatFloatEdit::BringToFront()
{
    if (!isEnabled() || !isActiveWindow())
        return;
    if (QApplication::focusWidget() == this && isVisible())
        return;
    // Show the page holding the field in every stacked container above it.
    for (QWidget *w = this; w && !w->isWindow(); w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        if (!stack || stack->currentWidget() == w)
            continue;
        if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
    if (!isVisible())
        return;
    m_refocusing = true;
    setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
    selectAll();
}

// ---------------------------------------------------------------------------

TFlatFloatEdit::TFlatFloatEdit(QWidget *parent) : TCustomFlatFloatEdit(parent) {}

TFlatFloatEdit::~TFlatFloatEdit() = default;
