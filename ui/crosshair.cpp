#include "ui/crosshair.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include "ui/handlererrors.h"

Crosshair::Crosshair(QWidget *overlay, QWidget *page, QWidget *picture, QWidget *panel, const QPen *pen,
                     QObject *parent)
    : QObject(parent), m_overlay(overlay), m_page(page), m_picture(picture), m_panel(panel), m_pen(pen)
{
    overlay->setMouseTracking(true);
    page->setMouseTracking(true);
    overlay->installEventFilter(this);
    page->installEventFilter(this);
}

bool Crosshair::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_overlay) {
        switch (event->type()) {
        case QEvent::MouseMove:
            runHandler([&] { overlayMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint()); });
            // handled here: the move does not go on to the page
            event->accept();
            return true;
        case QEvent::Paint:
            // the overlay's own painting first, then the lines over it
            watched->event(event);
            paintOverlay();
            return true;
        case QEvent::Hide:
            // the page is gone from the screen, and the lines with it
            m_drawn = false;
            break;
        default:
            break;
        }
    } else if (watched == m_page && event->type() == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        // A move over the panel reaches the page only because the panel
        // does not track the mouse itself; the panel has no handler.
        QWidget *child = m_page->childAt(pos);
        if (child && m_panel && (child == m_panel || m_panel->isAncestorOf(child)))
            return false;
        runHandler([&] { pageMouseMove(pos); });
    }
    return false;
}

void Crosshair::overlayMouseMove(const QPoint &pos)
{
    m_erased = false;
    m_pos = pos;
    m_drawn = true;
    // At once: the picture under the overlay is drawn again, without the old
    // lines, and the new ones over it.
    m_overlay->repaint();
}

void Crosshair::pageMouseMove(const QPoint &)
{
    if (m_erased)
        return;
    m_drawn = false;
    m_overlay->update();
    m_erased = true;
}

void Crosshair::paintOverlay()
{
    if (!m_drawn || !m_picture || !m_pen)
        return;
    const int w = m_picture->width();
    const int h = m_picture->height();
    QPainter p(m_overlay);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = *m_pen;
    pen.setCosmetic(true);
    p.setPen(pen);
    // A line ends one pixel short of its end point: (X, 0)-(X, H-1) covers
    // rows 0 to H-2, (0, Y)-(W-1, Y) columns 0 to W-2.
    p.drawLine(m_pos.x(), 0, m_pos.x(), h - 2);
    p.drawLine(0, m_pos.y(), w - 2, m_pos.y());
}
