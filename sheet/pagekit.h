#pragma once
// What the pages of the program's documents (the sizing sheet, the valve
// schedule) share: A4 portrait in millimetres, its frame, the conversion
// to device pixels and the font text is set in.
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "draw/drawkit.h"

namespace page {

// The paper and the frame the content stays in, millimetres from the top
// left corner of the paper.
constexpr double kWidth = 210;
constexpr double kHeight = 297;
constexpr double kLeft = 18;
constexpr double kRight = kWidth - 15;
constexpr double kTop = 14;
constexpr double kBottom = kHeight - 14;

// Millimetres to device pixels and back.
class Units
{
public:
    explicit Units(double dpi) : m_perMm(dpi / 25.4) {}
    double operator()(double mm) const { return mm * m_perMm; }
    double toMm(double pixels) const { return pixels / m_perMm; }
    QRectF rect(const QRectF &mm) const
    {
        return QRectF(mm.x() * m_perMm, mm.y() * m_perMm, mm.width() * m_perMm, mm.height() * m_perMm);
    }
    QPointF point(double x, double y) const { return QPointF(x * m_perMm, y * m_perMm); }

private:
    double m_perMm;
};

// The documents' font at `points`, without fallback fonts: the same
// letters on every machine that has it.
inline QFont font(double points, bool bold = false)
{
    QFont f(QString::fromLatin1(kPictureFontFamily));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
}

} // namespace page
