#pragma once
// Fonts and look of the program.
//
// The window description names the classic fonts "MS Sans Serif" and
// "Tahoma" in points, as laid out for 96 pixels per inch. Both families are
// substituted by one font with Cyrillic, "Liberation Sans" (Debian package
// fonts-liberation2), and the point sizes are turned into exact pixel
// heights: 8 pt -> 11 px, 10 pt -> 13 px, 12 pt -> 16 px, 14 pt -> 19 px.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

enum class VerdictTone;

class QWidget;

// The font every classic family is drawn with.
inline constexpr const char *kSubstituteFamily = "Liberation Sans";
// The window font of the description: "MS Sans Serif", 8 pt (11 px).
inline constexpr const char *kWindowFontFamily = "MS Sans Serif";
inline constexpr int kWindowFontPixels = 11;

// The pixel height of a point size at 96 pixels per inch, rounded to the
// nearest pixel (halves up).
int pointsToPixels(int points);

// Call once after the QApplication is created and before any window:
// the "Fusion" style, the font substitutions, the application font (the
// window font) and the application palette from the system colour table.
void installLookAndFeel();

// Turns every font that `root` or one of its descendants has set in points
// into the same font at the pixel height of pointsToPixels (parents first,
// so children that only inherit the size follow their parent), and the
// `Font` of every non-visual component `root` owns.
void applyDesignFonts(QWidget *root);

// The window font: `family` at `pixels`, bold or regular.
QFont designFont(int pixels, bool bold = false, const QString &family = QString::fromLatin1(kWindowFontFamily));

// The program icon in its three sizes (48, 32 and 16 pixels), from the
// embedded resources; empty where they are missing.
QIcon programIcon();

// The colour a verdict of the valve check is shown in: green for a good
// one, amber for a merely acceptable one, red for a bad one, the window
// text colour for the rest. The words of the verdict say the same.
QColor verdictColor(VerdictTone tone);
