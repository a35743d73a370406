#include "widgets/flathintwindow.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QScreen>

#include "widgets/flathint.h"

namespace {

// Word-wrapped, left- and top-aligned, "&" shown as it is.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The arrow glyph as one polyline, offsets from the arrow tip for the
// top-left corner; the other corners mirror it.
constexpr QPoint kArrowLine[] = {{0, 0}, {0, 6}, {1, 6}, {1, 0}, {6, 0}, {6, 1}, {2, 1}, {2, 4}, {5, 7},
                                 {6, 7}, {3, 4}, {3, 3}, {6, 6}, {7, 6}, {3, 2}, {4, 2}, {7, 5}, {7, 6}};

// The pixels of the glyph: each segment of the polyline without its last
// pixel, as a classic polyline is drawn. The segments are horizontal,
// vertical or diagonal, so one step moves by at most one pixel per axis.
QPolygon arrowPixels(QPoint tip, int sx, int sy)
{
    QPolygon pixels;
    for (std::size_t i = 0; i + 1 < std::size(kArrowLine); ++i) {
        const QPoint from(tip.x() + sx * kArrowLine[i].x(), tip.y() + sy * kArrowLine[i].y());
        const QPoint to(tip.x() + sx * kArrowLine[i + 1].x(), tip.y() + sy * kArrowLine[i + 1].y());
        const int stepX = (to.x() > from.x()) - (to.x() < from.x());
        const int stepY = (to.y() > from.y()) - (to.y() < from.y());
        for (QPoint p = from; p != to; p += QPoint(stepX, stepY))
            pixels << p;
    }
    return pixels;
}

} // namespace

TFlatHintWindow::TFlatHintWindow(QWidget *parent) : THintWindow(parent) {}

TFlatHintWindow::~TFlatHintWindow() = default;

TFlatHintWindow::TArrowCorner TFlatHintWindow::cornerFor(QPoint pointer, const QRect &screen)
{
    // Relative to the screen's top-left corner, which lies elsewhere than
    // (0, 0) when the primary screen is right of or below another one.
    const int x = pointer.x() - screen.left();
    const int y = pointer.y() - screen.top();
    const int halfWidth = screen.width() / 2;
    const int halfHeight = screen.height() / 2;
    const bool left = x >= 0 && x < halfWidth;
    const bool right = x >= halfWidth && x < screen.width();
    const bool top = y >= 0 && y < halfHeight;
    const bool bottom = y >= halfHeight && y < screen.height();
    if (left && top)
        return acTopLeft;
    if (right && top)
        return acTopRight;
    if (left && bottom)
        return acBottomLeft;
    return acBottomRight;
}

QRect TFlatHintWindow::placement(TArrowCorner corner, QPoint pointer, QSize size)
{
    const int gap = corner == acTopLeft ? kTopLeftGap : kGap;
    const bool rightOfPointer = corner == acTopLeft || corner == acBottomLeft;
    const bool belowPointer = corner == acTopLeft || corner == acTopRight;
    const int left = rightOfPointer ? pointer.x() + gap : pointer.x() - gap - size.width();
    const int top = belowPointer ? pointer.y() + gap : pointer.y() - gap - size.height();
    return QRect(QPoint(left, top), size);
}

void TFlatHintWindow::activateHint(const QRect &, const QString &text)
{
    setText(text);
    m_hintComponent = nullptr;
    if (QWidget *owner = mainWindow()) {
        for (QObject *child : owner->children()) {
            if (auto *component = qobject_cast<TFlatHint *>(child)) {
                m_hintComponent = component;
                break;
            }
        }
    }
    const QFont hintFont = m_hintComponent ? m_hintComponent->Font() : QGuiApplication::font();
    if (font() != hintFont)
        setFont(hintFont);

    const int maxWidth = m_hintComponent ? m_hintComponent->MaxHintWidth() : TFlatHint::kDefaultMaxHintWidth;
    const QRect measured =
        QFontMetrics(font()).boundingRect(QRect(0, 0, qMax(maxWidth - kExtraWidth, 1), 0), kTextFlags, text);
    m_textWidth = measured.width();
    const QSize size(measured.width() + kExtraWidth, measured.height() + kExtraHeight);

    const QPoint pointer = pointerPos();
    m_arrowCorner = cornerFor(pointer, primaryScreenGeometry());
    showAt(placement(m_arrowCorner, pointer, size));
}

QRect TFlatHintWindow::primaryScreenGeometry() const
{
    if (m_screenSource)
        return m_screenSource();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect TFlatHintWindow::textBox() const
{
    // The text area less 3 pixels at the sides and 1 at the top and bottom.
    const int left = stripOnLeft() ? 1 + kStripWidth + 3 : 1 + 3;
    return QRect(left, 2, m_textWidth, height() - 4);
}

void TFlatHintWindow::paintEvent(QPaintEvent *)
{
    const TFlatHint *c = m_hintComponent;
    const QColor arrowBackground =
        resolveColor(c ? c->ColorArrowBackground() : TFlatHint::kDefaultColorArrowBackground);
    const QColor background = resolveColor(c ? c->ColorBackground() : TFlatHint::kDefaultColorBackground);
    const QColor border = resolveColor(c ? c->ColorBorder() : TFlatHint::kDefaultColorBorder);
    const QColor arrow = resolveColor(c ? c->ColorArrow() : TFlatHint::kDefaultColorArrow);
    const QColor text = resolveColor(c ? c->FontColor() : TFlatHint::kDefaultFontColor);

    const int w = width();
    const int h = height();
    const bool left = stripOnLeft();
    QPainter p(this);
    p.fillRect(QRect(left ? 1 : w - 1 - kStripWidth, 1, kStripWidth, h - 2), arrowBackground);
    p.fillRect(QRect(left ? 1 + kStripWidth : 1, 1, w - 2 - kStripWidth, h - 2), background);
    p.fillRect(QRect(0, 0, w, 1), border);
    p.fillRect(QRect(0, h - 1, w, 1), border);
    p.fillRect(QRect(0, 1, 1, h - 2), border);
    p.fillRect(QRect(w - 1, 1, 1, h - 2), border);

    // Two pixels in from the strip's own corner pixel at the arrow corner.
    const bool top = m_arrowCorner == acTopLeft || m_arrowCorner == acTopRight;
    m_arrowTip = QPoint(left ? 3 : w - 4, top ? 3 : h - 4);
    p.setPen(QPen(arrow, 1));
    p.drawPoints(arrowPixels(m_arrowTip, left ? 1 : -1, top ? 1 : -1));

    p.setFont(font());
    p.setPen(text);
    p.drawText(textBox(), kTextFlags, this->text());
}
