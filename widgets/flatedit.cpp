#include "widgets/flatedit.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QPainter>

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
    pal.setColor(QPalette::Base, resolveColor(m_color));
    setPalette(pal);
}

TFlatBorderStyle TCustomFlatEdit::currentBorderStyle() const
{
    if (!m_flat)
        return fbsStandard;
    if (m_activate && (hasFocus() || m_mouseInside))
        return fbsActive;
    if (m_showBorder)
        return fbsLine;
    return fbsBackground;
}

void TCustomFlatEdit::InvalidateFrame() { update(); }

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
    const QColor back = resolveColor(m_color);
    outlineRect(p, r, back);
    outlineRect(p, r.adjusted(1, 1, -1, -1), back);
    DrawFlatBorder(p, m_color, m_borderColor, currentBorderStyle(), r);
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

bool TCustomFlatEdit::isWindowOrPopupReason(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

void TCustomFlatEdit::focusInEvent(QFocusEvent *e)
{
    const Qt::FocusReason reason = e->reason();
    const bool regain = m_entered && isWindowOrPopupReason(reason);
    const bool leftClick = reason == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
    const bool keyboardEntry =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
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
    if (!isWindowOrPopupReason(e->reason()))
        m_entered = false;
    InvalidateFrame();
}

void TCustomFlatEdit::resizeEvent(QResizeEvent *e)
{
    QLineEdit::resizeEvent(e);
    InvalidateFrame();
}
