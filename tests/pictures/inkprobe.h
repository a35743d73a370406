#pragma once
// Reading the ink of black drawings on white paper: dark pixels, the
// darkest pixel near a point, the centre of a line crossing a column.
#include <QImage>

#include <algorithm>

inline bool isDark(QRgb c) { return qGray(c) < 110; }

// The darkest pixel within one pixel of the point.
inline int darkestAround(const QImage &img, double x, double y)
{
    const int cx = qRound(x), cy = qRound(y);
    int best = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.valid(cx + dx, cy + dy))
                best = std::min(best, qGray(img.pixel(cx + dx, cy + dy)));
    return best;
}

// Darkness-weighted mean row of the ink in a column between rows y0
// and y1; grey grid lines and paper weigh nothing.
inline double inkCentre(const QImage &img, int x, int y0, int y1)
{
    double sum = 0, weight = 0;
    for (int y = y0; y <= y1; ++y) {
        const double w = std::max(0, 130 - qGray(img.pixel(x, y)));
        sum += w * y;
        weight += w;
    }
    return weight > 0 ? sum / weight : -1000;
}

inline int darkPixels(const QImage &img, const QRect &box)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (isDark(img.pixel(x, y)))
                ++n;
    return n;
}
