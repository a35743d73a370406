#include "widgets/syscolors.h"

#include <array>

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// The classic "Windows Standard" scheme.
constexpr std::array<Rgb, COLOR_COUNT> kSysColors = {{
    {212, 208, 200}, // 0  scroll bar
    {58, 110, 165},  // 1  desktop background
    {10, 36, 106},   // 2  active caption
    {128, 128, 128}, // 3  inactive caption
    {212, 208, 200}, // 4  menu
    {255, 255, 255}, // 5  window
    {0, 0, 0},       // 6  window frame
    {0, 0, 0},       // 7  menu text
    {0, 0, 0},       // 8  window text
    {255, 255, 255}, // 9  caption text
    {212, 208, 200}, // 10 active border
    {212, 208, 200}, // 11 inactive border
    {128, 128, 128}, // 12 application workspace
    {10, 36, 106},   // 13 highlight
    {255, 255, 255}, // 14 highlight text
    {212, 208, 200}, // 15 button face
    {128, 128, 128}, // 16 button shadow
    {128, 128, 128}, // 17 grey text
    {0, 0, 0},       // 18 button text
    {212, 208, 200}, // 19 inactive caption text
    {255, 255, 255}, // 20 button highlight
    {64, 64, 64},    // 21 3-D dark shadow
    {212, 208, 200}, // 22 3-D light
    {0, 0, 0},       // 23 info text
    {255, 255, 225}, // 24 info background
    {0, 0, 0},       // 25 (unused)
    {0, 0, 128},     // 26 hot-tracked item
    {166, 202, 240}, // 27 active caption gradient
    {192, 192, 192}, // 28 inactive caption gradient
    {10, 36, 106},   // 29 menu highlight
    {212, 208, 200}, // 30 menu bar
}};

} // namespace

QColor sysColor(int index)
{
    if (index < 0 || index >= COLOR_COUNT)
        return QColor(0, 0, 0);
    const Rgb &c = kSysColors[std::size_t(index)];
    return QColor(c.r, c.g, c.b);
}

QColor resolveColor(TColor color)
{
    if (isSysColor(color))
        return sysColor(sysColorIndex(color));
    if (color == clNone || color == clDefault)
        return QColor(0, 0, 0);
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor ColorToRGB(TColor color) { return qColorToColor(resolveColor(color)); }

TColor qColorToColor(const QColor &color) { return rgbColor(color.red(), color.green(), color.blue()); }

namespace {

// n / 100 rounded to the nearest integer, halves to even.
qint64 roundHundredthsToEven(qint64 n)
{
    const qint64 q = n >= 0 ? n / 100 : -((-n + 99) / 100); // floor
    const qint64 rest = n - q * 100;                        // 0..99
    if (rest > 50 || (rest == 50 && (q & 1) != 0))
        return q + 1;
    return q;
}

int clampChannel(qint64 v) { return v < 0 ? 0 : (v > 255 ? 255 : int(v)); }

} // namespace

TColor LightenColor(TColor color, int percent)
{
    const int p = percent > 100 ? 100 : percent;
    const QColor c = resolveColor(color);
    const auto lighten = [p](int x) { return clampChannel(x + roundHundredthsToEven(qint64(255 - x) * p)); };
    return rgbColor(lighten(c.red()), lighten(c.green()), lighten(c.blue()));
}

TColor DarkenColor(TColor color, int amount)
{
    const QColor c = resolveColor(color);
    const qint64 d = amount;
    return rgbColor(clampChannel(c.red() - d), clampChannel(c.green() - d + 2), clampChannel(c.blue() - d));
}
