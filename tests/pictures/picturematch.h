#pragma once
// Comparing pictures drawn on different machines.
//
// The raster engine picks its SIMD code paths by CPU, so the same drawing
// gives other bytes on another machine: antialiased pixels along an edge
// can differ by half the range (a pixel half covered on one machine may be
// nearly empty on another), and the JPEG encoding spreads such a change a
// little over its 8 x 8 block. What stays is where the ink is.
//
// The rule: every pixel of each picture lies, in each channel, within
// `tolerance` levels of the range that channel spans over the 3 x 3 pixels
// around the same place in the other picture. An edge moved by less than a
// pixel passes, whatever it does to the antialiased pixels along it; a
// stroke drawn, dropped or moved by more than a pixel, or a colour changed
// by more than the tolerance, does not. Pixels are compared premultiplied,
// as they are composed on the screen: the colour of a nearly transparent
// pixel hardly counts.
#include <QImage>
#include <QPoint>

#include <algorithm>

struct PictureDifference {
    int unexplained = 0;  // pixels of either picture the other does not explain
    QPoint first{-1, -1}; // the first of them, in rows from the top
};

namespace picturematch {

inline int channel(QRgb c, int i) { return int((c >> (8 * i)) & 0xFF); }

// The pixels of `a` that the 3 x 3 neighbourhoods of `b` do not explain.
inline void explain(const QImage &a, const QImage &b, int tolerance, PictureDifference &d)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            int lo[4] = {255, 255, 255, 255}, hi[4] = {0, 0, 0, 0};
            for (int yy = std::max(0, y - 1); yy <= std::min(b.height() - 1, y + 1); ++yy)
                for (int xx = std::max(0, x - 1); xx <= std::min(b.width() - 1, x + 1); ++xx) {
                    const QRgb n = b.pixel(xx, yy);
                    for (int i = 0; i < 4; ++i) {
                        lo[i] = std::min(lo[i], channel(n, i));
                        hi[i] = std::max(hi[i], channel(n, i));
                    }
                }
            const QRgb p = a.pixel(x, y);
            for (int i = 0; i < 4; ++i)
                if (channel(p, i) < lo[i] - tolerance || channel(p, i) > hi[i] + tolerance) {
                    if (d.unexplained++ == 0 || y < d.first.y() || (y == d.first.y() && x < d.first.x()))
                        d.first = QPoint(x, y);
                    break;
                }
        }
}

} // namespace picturematch

// Pictures of different sizes differ everywhere.
inline PictureDifference comparePictures(const QImage &first, const QImage &second, int tolerance)
{
    PictureDifference d;
    if (first.size() != second.size() || first.isNull()) {
        d.unexplained = std::max(first.width() * first.height(), second.width() * second.height());
        d.first = QPoint(0, 0);
        return d;
    }
    const QImage a = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    picturematch::explain(a, b, tolerance, d);
    picturematch::explain(b, a, tolerance, d);
    return d;
}
