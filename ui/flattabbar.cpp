#include "ui/flattabbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/syscolors.h"

namespace {

QColor Sys(TColor c) { return ResolveColor(c); }

} // namespace

TFlatTabBar::TFlatTabBar(QWidget *parent) : QTabBar(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDocumentMode(false);
}

QSize TFlatTabBar::tabSizeHint(int index) const
{
    const int text = fontMetrics().horizontalAdvance(tabText(index));
    return QSize(text + 2 * kTabPadding + kTabGap, kTabHeight);
}

QSize TFlatTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

QRect TFlatTabBar::buttonRect(int index) const
{
    const QRect r = tabRect(index);
    if (!r.isValid())
        return r;
    return r.adjusted(0, 0, -kTabGap, 0);
}

void TFlatTabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor face = Sys(clBtnFace);
    const QColor shadow = Sys(clBtnShadow);
    const QColor highlight = Sys(clBtnHighlight);
    // A pressed flat button shows a face halfway between the button face and
    // the highlight, as a checked button does.
    const QColor pressedFace((face.red() + highlight.red()) / 2, (face.green() + highlight.green()) / 2,
                             (face.blue() + highlight.blue()) / 2);
    const QColor text = Sys(clBtnText);

    for (int i = 0; i < count(); ++i) {
        const QRect b = buttonRect(i);
        const bool down = (i == currentIndex());
        p.fillRect(b, down ? pressedFace : face);
        if (down) {
            // Sunken one-pixel edge: shadow top and left, highlight bottom and right.
            p.setPen(shadow);
            p.drawLine(b.left(), b.top(), b.right(), b.top());
            p.drawLine(b.left(), b.top(), b.left(), b.bottom());
            p.setPen(highlight);
            p.drawLine(b.left(), b.bottom(), b.right(), b.bottom());
            p.drawLine(b.right(), b.top() + 1, b.right(), b.bottom());
        }
        // Etched separator in the middle of the gap to the next tab.
        if (i + 1 < count()) {
            const int x = b.right() + kTabGap / 2;
            p.setPen(shadow);
            p.drawLine(x, b.top() + 2, x, b.bottom() - 2);
            p.setPen(highlight);
            p.drawLine(x + 1, b.top() + 2, x + 1, b.bottom() - 2);
        }
        QRect textRect = b;
        if (down)
            textRect.translate(1, 1);
        p.setPen(isTabEnabled(i) ? text : Sys(clGrayText));
        p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, tabText(i));
    }
}

void TFlatTabBar::mousePressEvent(QMouseEvent *event)
{
    ++m_userAction;
    QTabBar::mousePressEvent(event);
    --m_userAction;
}

void TFlatTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    ++m_userAction;
    QTabBar::mouseReleaseEvent(event);
    --m_userAction;
}

void TFlatTabBar::keyPressEvent(QKeyEvent *event)
{
    ++m_userAction;
    QTabBar::keyPressEvent(event);
    --m_userAction;
}

#if QT_CONFIG(wheelevent)
void TFlatTabBar::wheelEvent(QWheelEvent *event)
{
    // Pages are not switched by the wheel.
    event->ignore();
}
#endif
