#include "widgets/hintwindow.h"

#include <QCursor>
#include <QPainter>
#include <QWindow>

namespace {

// A top-level popup without frame or task-bar entry that input passes
// through.
constexpr Qt::WindowFlags kHintWindowFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

THintWindow::THintWindow(QWidget *parent) : QWidget(parent, kHintWindowFlags)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

THintWindow::~THintWindow() = default;

void THintWindow::setMainWindow(QWidget *window)
{
    m_mainWindow = window;
    QWindow *parentWindow = window ? window->windowHandle() : nullptr;
    if (!parentWindow)
        return;
    if (!windowHandle())
        create();
    if (QWindow *own = windowHandle(); own && own->transientParent() != parentWindow)
        own->setTransientParent(parentWindow);
}

QPoint THintWindow::pointerPos() const { return m_pointerSource ? m_pointerSource() : QCursor::pos(); }

void THintWindow::activateHint(const QRect &, const QString &text)
{
    setText(text);
    const QRect need = fontMetrics().boundingRect(QRect(0, 0, kMaxTextWidth, 0), kTextFlags, text);
    const QSize size(need.width() + 2 * (kTextMargin + 1), need.height() + 2 * (kTextMargin + 1));
    showAt(QRect(pointerPos() + QPoint(0, kBelowPointer), size));
}

void THintWindow::showAt(const QRect &bounds)
{
    // A window of this type comes up above every other window when shown.
    setGeometry(bounds);
    show();
    update();
}

void THintWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), resolveColor(m_color));
    p.setPen(resolveColor(clInfoText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect().adjusted(kTextMargin + 1, kTextMargin + 1, -kTextMargin - 1, -kTextMargin - 1), kTextFlags,
               m_text);
}
