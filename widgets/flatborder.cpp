#include "widgets/flatborder.h"

#include <QPainter>

namespace {

void FillPixels(QPainter &p, int x, int y, int w, int h, const QColor &c)
{
    if (w > 0 && h > 0)
        p.fillRect(QRect(x, y, w, h), c);
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

void OutlineRect(QPainter &p, const QRect &r, const QColor &c)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    FillPixels(p, r.left(), r.top(), r.width(), 1, c);
    FillPixels(p, r.left(), r.bottom(), r.width(), 1, c);
    FillPixels(p, r.left(), r.top(), 1, r.height(), c);
    FillPixels(p, r.right(), r.top(), 1, r.height(), c);
}

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
