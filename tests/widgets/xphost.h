#pragma once
// A small window restyled by an XP-style painter, the colours of the flat
// look worked out from their definitions, and the pixels as the screen
// shows them.
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "widgets/controlsubclass.h"
#include "widgets/panel.h"
#include "widgets/syscolors.h"
#include "widgets/xpstylepainter.h"

// c moved towards white by p percent (at most 100), halves to even.
inline QColor lighten(const QColor &c, int p)
{
    p = std::min(p, 100);
    const auto ch = [p](int x) { return std::clamp(x + int(std::nearbyint((255 - x) * p / 100.0)), 0, 255); };
    return QColor(ch(c.red()), ch(c.green()), ch(c.blue()));
}

// Red and blue less d, green less d - 2, within 0..255.
inline QColor darken(const QColor &c, int d)
{
    const auto ch = [](int x) { return std::clamp(x, 0, 255); };
    return QColor(ch(c.red() - d), ch(c.green() - d + 2), ch(c.blue() - d));
}

inline QColor sys(TColor c) { return resolveColor(c); }

// A window in the button-face colour holding a group box with a push
// button, a push button of its own and a panel, in this creation order,
// and the painter after them (not yet active).
class XPHost : public QWidget
{
public:
    QGroupBox *group;
    QPushButton *inner;
    QPushButton *button;
    TPanel *panel;
    TXPStylePainter *painter = nullptr;

    XPHost()
    {
        setPalette(QPalette(sys(clBtnFace)));
        resize(400, 300);
        group = new QGroupBox(QStringLiteral("Ввод расчётных параметров"), this);
        group->setGeometry(0, 100, 264, 147);
        group->setFont(windowFont());
        inner = new QPushButton(QStringLiteral("Обнулить параметры"), group);
        inner->setGeometry(67, 118, 129, 21);
        inner->setFont(windowFont());
        button = new QPushButton(QStringLiteral("Обнулить параметры"), this);
        button->setGeometry(10, 10, 129, 21);
        button->setFont(windowFont());
        panel = new TPanel(this);
        panel->setGeometry(280, 100, 100, 55);
        painter = new TXPStylePainter(this);
    }

    // The painter switched on, as the end of loading a window does.
    void activate()
    {
        painter->setActive(true);
        painter->Loaded();
    }

    // The window font, without antialiasing: every pixel of a caption is
    // either the caption colour or the colour below.
    static QFont windowFont()
    {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(11);
        f.setStyleStrategy(QFont::NoAntialias);
        return f;
    }

    static void setPaletteColor(QWidget *w, const QColor &c)
    {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, c);
        w->setPalette(pal);
    }
};

// The pixels of `w` as the window on the screen shows them, once every
// pending paint is done.
inline QImage shownPixels(QWidget *w)
{
    QCoreApplication::processEvents();
    QWidget *win = w->window();
    const QPoint at = w->mapTo(win, QPoint(0, 0));
    return win->screen()
        ->grabWindow(win->winId(), at.x(), at.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The object names of the hooked controls in `root`, sorted, separated by
// spaces.
inline QString hookedNames(QWidget *root)
{
    QStringList names;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (TControlSubClass::hookOf(w))
            names << w->objectName();
    names.sort();
    return names.join(' ');
}

// Counts the paint events of a control.
class PaintCount : public QObject
{
public:
    int paints = 0;
    explicit PaintCount(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *ev) override
    {
        paints += ev->type() == QEvent::Paint;
        return false;
    }
};

// The colour each pixel of a control should have.
using PixelRule = std::function<QColor(int x, int y)>;

// The first pixel of `img` outside `skip` that `rule` does not accept, as
// text; empty when all match.
inline QString mismatch(const QImage &img, const PixelRule &rule, const QList<QRect> &skip = {})
{
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const bool skipped =
                std::any_of(skip.begin(), skip.end(), [&](const QRect &r) { return r.contains(x, y); });
            if (!skipped && img.pixelColor(x, y) != rule(x, y))
                return QStringLiteral("(%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(img.pixelColor(x, y).name(), rule(x, y).name());
        }
    }
    return QString();
}

inline bool contains(const QImage &img, const QRect &r, const QColor &c)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == c)
                return true;
    return false;
}

// A flat push button of W x H: the corners in the parent colour, the face
// inside, a one-pixel outline in the frame base lightened by 30, and the
// shade (the frame base darkened by 50) on the right and bottom edges
// (shade 1), on the left and top ones (2, pressed) or nowhere (0).
inline PixelRule buttonRule(int W, int H, QColor parent, QColor face, QColor frame, int shade)
{
    const QColor outline = lighten(frame, 30), dark = darken(frame, 50);
    return [=](int x, int y) {
        const bool left = x == 0, top = y == 0, right = x == W - 1, bottom = y == H - 1;
        if ((left || right) && (top || bottom))
            return parent;
        if (!(left || top || right || bottom))
            return face;
        const bool shaded = shade == 1 ? right || bottom : shade == 2 && (left || top);
        return shaded ? dark : outline;
    };
}

// A flat group box of W x H in `color`: above `edgeRow` the parent colour,
// the top edge on that row and the left edge in `edge`, the right and
// bottom edges in `color` darkened by 60, the box colour inside. (The
// caption box is not covered.)
inline PixelRule groupBoxRule(int W, int H, QColor parent, QColor color, int edgeRow, QColor edge)
{
    const QColor dark = darken(color, 60);
    return [=](int x, int y) {
        if (y < edgeRow)
            return parent;
        if (y == H - 1 || x == W - 1)
            return dark;
        if (y == edgeRow || x == 0)
            return edge;
        return color;
    };
}

// A panel of W x H with bevel rings from the outside in: ring k has its
// left and top edges in rings[k].first, its right and bottom edges in
// rings[k].second; an invalid colour leaves the ring, like everything
// inside the rings, in the colour below the panel.
inline PixelRule panelRule(int W, int H, QColor below, QList<std::pair<QColor, QColor>> rings)
{
    return [=](int x, int y) {
        const int k = std::min({x, y, W - 1 - x, H - 1 - y});
        if (k >= rings.size() || !rings[k].first.isValid())
            return below;
        return x == W - 1 - k || y == H - 1 - k ? rings[k].second : rings[k].first;
    };
}
