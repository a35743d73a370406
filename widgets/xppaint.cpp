#include "widgets/xppaint.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QVariant>
#include <initializer_list>

#include "widgets/panel.h"
#include "widgets/xpkinds.h"

namespace {

void fillBox(QPainter &p, const TRect &r, TColor c)
{
    if (r.Right > r.Left && r.Bottom > r.Top)
        p.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), resolveColor(c));
}

// From (x0, y0) up to, but not including, (x1, y1).
void drawLine(QPainter &p, int x0, int y0, int x1, int y1, TColor c)
{
    const QColor color = resolveColor(c);
    if (y0 == y1) {
        const int left = x1 >= x0 ? x0 : x1 + 1;
        p.fillRect(QRect(left, y0, qAbs(x1 - x0), 1), color);
        return;
    }
    if (x0 == x1) {
        const int top = y1 >= y0 ? y0 : y1 + 1;
        p.fillRect(QRect(x0, top, 1, qAbs(y1 - y0)), color);
        return;
    }
    const int dx = qAbs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -qAbs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        p.fillRect(QRect(x0, y0, 1, 1), color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void drawPolyline(QPainter &p, std::initializer_list<QPoint> points, TColor c)
{
    const QPoint *prev = nullptr;
    for (const QPoint &pt : points) {
        if (prev)
            drawLine(p, prev->x(), prev->y(), pt.x(), pt.y(), c);
        prev = &pt;
    }
}

// The border pixels of the box (Left, Top)-(Right, Bottom).
void outlineBox(QPainter &p, const TRect &r, TColor c)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    fillBox(p, {r.Left, r.Top, r.Right, r.Top + 1}, c);
    fillBox(p, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
    fillBox(p, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
    fillBox(p, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
}

// Ctl3D of a control: its dynamic property "Ctl3D", true when it has none.
bool ctl3DOf(const QWidget *w)
{
    const QVariant v = w->property("Ctl3D");
    return !v.isValid() || v.toBool();
}

TColor foregroundOf(const QWidget *w)
{
    return qColorToColor(w->palette().color(QPalette::Active, w->foregroundRole()));
}

// What DrawXPButton leaves on each pixel before the caption.
struct ButtonFace {
    int W = 0, H = 0;
    TColor parent = 0, face = 0, outline = 0, shade = 0;
    bool pressed = false, enabled = true;

    TColor at(int x, int y) const
    {
        const bool left = x == 0, top = y == 0, right = x == W - 1, bottom = y == H - 1;
        if (x < 0 || y < 0 || x >= W || y >= H || ((left || right) && (top || bottom)))
            return parent;
        if (!(left || top || right || bottom))
            return face;
        const bool shaded = enabled && (pressed ? (left || top) : (right || bottom));
        return shaded ? shade : outline;
    }
};

constexpr int kCaptionFlags = Qt::TextShowMnemonic | Qt::TextExpandTabs;

} // namespace

TColor backgroundOf(const QWidget *w) { return qColorToColor(w->palette().color(w->backgroundRole())); }

TColor parentBackgroundOf(const QWidget *w) { return backgroundOf(w->parentWidget() ? w->parentWidget() : w); }

void BevelFrame(QPainter &p, TRect &r, TColor tl, TColor br, int n)
{
    --r.Right;
    --r.Bottom;
    for (int i = 0; i < n; ++i) {
        drawPolyline(p, {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}}, tl);
        drawPolyline(p, {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}}, br);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    ++r.Right;
    ++r.Bottom;
}

void DrawXPButton(QPainter &p, const QPushButton *button, const XPButtonState &state)
{
    const TXPColorScheme &scheme = *state.scheme;
    ButtonFace look;
    look.W = button->width();
    look.H = button->height();
    look.parent = parentBackgroundOf(button);
    look.enabled = button->isEnabled();
    if (tagOf(button) == kTagParentFace)
        look.face = LightenColor(look.parent, state.Hot ? state.FaceLightenHot : state.FaceLightenNormal);
    else
        look.face = state.Hot ? LightenColor(clBtnFace, state.FaceLightenHot) : scheme.IconStripBack;
    const TColor frame = state.Hot || state.HasFocus ? LightenColor(scheme.SelectFrame, 60) : clBtnShadow;
    look.outline = LightenColor(frame, 30);
    look.shade = DarkenColor(frame, 50);
    look.pressed = state.SpaceDown || (state.MouseDown && state.Hot);
    const int W = look.W, H = look.H;

    fillBox(p, {0, 0, W, H}, look.parent);
    // The rounded rectangle with a 4 x 4 corner ellipse: the outline leaves
    // out the four corner pixels.
    fillBox(p, {1, 1, W - 1, H - 1}, look.face);
    fillBox(p, {1, 0, W - 1, 1}, look.outline);
    fillBox(p, {1, H - 1, W - 1, H}, look.outline);
    fillBox(p, {0, 1, 1, H - 1}, look.outline);
    fillBox(p, {W - 1, 1, W, H - 1}, look.outline);
    if (look.enabled) {
        if (look.pressed)
            drawPolyline(p, {{0, H - 2}, {0, 1}, {1, 0}, {W - 1, 0}}, look.shade);
        else
            drawPolyline(p, {{W - 1, 1}, {W - 1, H - 2}, {W - 2, H - 1}, {0, H - 1}}, look.shade);
    }
    DrawXPCaption(p, button, look.enabled ? foregroundOf(button) : scheme.DisabledText,
                  [&look](int x, int y) { return look.at(x, y); });
}

void DrawXPCaption(QPainter &p, const QPushButton *button, TColor color, const SurfacePixel &pixelBelow)
{
    const QString text = button->text();
    const QFontMetrics fm(button->font());
    const QSize size = text.isEmpty() ? QSize(0, 0) : fm.size(kCaptionFlags, text);
    const QRect box((button->width() - size.width()) / 2, (button->height() - size.height()) / 2, size.width(),
                    size.height());
    p.setFont(button->font());
    p.setBackgroundMode(Qt::TransparentMode);
    if (button->isDefault() && button->isEnabled() && pixelBelow) {
        // Four darker copies under the caption: (dx, dy, extra width, amount).
        static constexpr int kCopies[4][4] = {{1, 0, 0, 30}, {1, 2, 1, 30}, {0, 1, 0, 40}, {1, 1, 1, 60}};
        for (const auto &c : kCopies) {
            const QRect shifted(box.x() + c[0], box.y() + c[1], box.width() + c[2], box.height());
            p.setPen(resolveColor(DarkenColor(pixelBelow(shifted.x(), shifted.y()), c[3])));
            p.drawText(shifted, Qt::AlignCenter | kCaptionFlags, text);
        }
    }
    p.setPen(resolveColor(color));
    p.drawText(box, Qt::AlignCenter | kCaptionFlags, text);
}

void DrawXPGroupBox(QPainter &p, const QGroupBox *box)
{
    const int W = box->width(), H = box->height();
    const TColor color = backgroundOf(box);
    const TColor parent = parentBackgroundOf(box);
    const QString caption = box->title();
    const QFontMetrics fm(box->font());
    const int h = fm.height(); // a single space is as high as any caption
    const int tw = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
    const int a = h / 2;
    const TColor light = LightenColor(color, 60);
    const TColor dark = DarkenColor(color, 60);
    const TColor edge = ctl3DOf(box) ? light : dark;

    // The toolkit's own frame and caption lie elsewhere than this frame and
    // caption: the box colour first hides them.
    fillBox(p, {0, 0, W, H}, color);
    outlineBox(p, {1, h, W - 1, H - 1}, color);
    drawLine(p, 1, a - 1, 1, H, color);
    TRect r{0, a - 1, W, H};
    BevelFrame(p, r, edge, dark, 1);
    fillBox(p, {0, 0, W, a + 1}, parent);
    const int capLeft = box->layoutDirection() == Qt::RightToLeft ? W - 9 - tw : 9;
    const int capRight = capLeft + tw;
    fillBox(p, {capLeft, a + 1, capRight, 2 * a + 2}, color);
    drawLine(p, W - 2, a + 1, W - 2, h, color);
    if (tw > 0) {
        const QRect capBox(capLeft, 0, tw, h);
        p.save();
        p.setClipRect(capBox, Qt::IntersectClip);
        p.setFont(box->font());
        p.setBackgroundMode(Qt::TransparentMode);
        p.setPen(resolveColor(foregroundOf(box)));
        p.drawText(capBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
        p.restore();
    }
    drawLine(p, 0, a + 1, capLeft, a + 1, edge);
    drawLine(p, capRight, a + 1, W - 1, a + 1, edge);
}

void drawPanelBevels(QPainter &p, const TPanel *panel, TColor light, TColor dark)
{
    TRect r{0, 0, panel->width(), panel->height()};
    const int width = panel->BevelWidth();
    const auto bevel = [&](TPanel::TBevelCut cut) {
        if (cut == TPanel::bvLowered)
            BevelFrame(p, r, dark, light, width);
        else
            BevelFrame(p, r, light, dark, width);
    };
    if (panel->BevelOuter() != TPanel::bvNone)
        bevel(panel->BevelOuter());
    if (panel->BevelInner() != TPanel::bvNone) {
        const int b = panel->BorderWidth();
        r = {r.Left + b, r.Top + b, r.Right - b, r.Bottom - b};
        bevel(panel->BevelInner());
    }
}

void DrawXPPanel(QPainter &p, const TPanel *panel)
{
    const TColor color = backgroundOf(panel);
    drawPanelBevels(p, panel, LightenColor(color, 60), DarkenColor(color, 60));
}
