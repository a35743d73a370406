#include "ui/flattabbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/syscolors.h"

FlatTabBar::FlatTabBar(QWidget *parent) : QTabBar(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDocumentMode(false);
}

QSize FlatTabBar::tabSizeHint(int index) const
{
    const int text = fontMetrics().horizontalAdvance(tabText(index));
    return QSize(text + 2 * kTabPadding + kTabGap, kTabHeight);
}

QSize FlatTabBar::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

QRect FlatTabBar::buttonRect(int index) const
{
    const QRect r = tabRect(index);
    if (!r.isValid())
        return r;
    return r.adjusted(0, 0, -kTabGap, 0);
}

void FlatTabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor face = resolveColor(clBtnFace);
    const QColor shadow = resolveColor(clBtnShadow);
    const QColor highlight = resolveColor(clBtnHighlight);
    // A pressed flat button shows a face halfway between the button face and
    // the highlight, as a checked button does.
    const QColor pressedFace((face.red() + highlight.red()) / 2, (face.green() + highlight.green()) / 2,
                             (face.blue() + highlight.blue()) / 2);
    const QColor text = resolveColor(clBtnText);

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
        p.setPen(isTabEnabled(i) ? text : resolveColor(clGrayText));
        p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, tabText(i));
    }
}

void FlatTabBar::mousePressEvent(QMouseEvent *event)
{
    ++m_userAction;
    QTabBar::mousePressEvent(event);
    --m_userAction;
}

void FlatTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    ++m_userAction;
    QTabBar::mouseReleaseEvent(event);
    --m_userAction;
}

void FlatTabBar::keyPressEvent(QKeyEvent *event)
{
    ++m_userAction;
    QTabBar::keyPressEvent(event);
    --m_userAction;
}

#if QT_CONFIG(wheelevent)
void FlatTabBar::wheelEvent(QWheelEvent *event)
{
    // Pages are not switched by the wheel.
    event->ignore();
}
#endif
