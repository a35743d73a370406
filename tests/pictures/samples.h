#pragma once
// What the picture tests share: the committed resources (the build names
// their folder in ZELTON_RESOURCES_DIR), a colour compared within a
// tolerance, and a picture whose pixels all differ.
#include <QColor>
#include <QImage>
#include <QString>

#include <cstdlib>

// The committed file `name` under resources/.
inline QString resource(const QString &name) { return QStringLiteral(ZELTON_RESOURCES_DIR "/") + name; }

// True when every channel of `a` lies within `tolerance` of `b`'s.
inline bool isNear(QRgb a, QColor b, int tolerance = 12)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance
           && std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// A picture whose pixels all differ, to check 1:1 drawing exactly.
inline QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(40 + x * 4 % 200, 30 + y * 6 % 200, (x + y) % 2 ? 250 : 120));
    return img;
}
