#include "sheet/sheetpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "draw/drawkit.h"
#include "draw/nomogram.h"
#include "draw/nomogram_geometry.h"
#include "draw/schemes.h"
#include "sheet/sheetcontent.h"

namespace {

// Page frame, millimetres.
constexpr double kLeft = 18;
constexpr double kRight = SheetLayout::kPageWidth - 15;
constexpr double kTop = 14;
constexpr double kBottom = SheetLayout::kPageHeight - 14;
constexpr double kRowHeight = 6;
constexpr double kSchemeWidthMm = 140;
// Columns of the input table: caption, hint, value, unit.
constexpr double kColumns[] = {20, 121, 20, 16};
// The smallest size a hint is set in before it is wrapped.
constexpr double kSmallestHintPoints = 6.5;

const QColor kRule(120, 120, 120);
const QColor kGrid(190, 190, 190);

// Millimetres to device pixels and back.
class PageUnits
{
public:
    explicit PageUnits(double dpi) : m_perMm(dpi / 25.4) {}
    double operator()(double mm) const { return mm * m_perMm; }
    QRectF rect(const QRectF &mm) const
    {
        return QRectF(mm.x() * m_perMm, mm.y() * m_perMm, mm.width() * m_perMm, mm.height() * m_perMm);
    }
    QPointF point(double x, double y) const { return QPointF(x * m_perMm, y * m_perMm); }

private:
    double m_perMm;
};

QFont sheetFont(double points, bool bold = false)
{
    QFont font(QString::fromLatin1(kPictureFontFamily));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// One line of text in a box given in millimetres.
void text(QPainter &p, const PageUnits &mm, const QRectF &box, const QString &s, const QFont &font,
          int flags = Qt::AlignLeft | Qt::AlignVCenter)
{
    p.setFont(font);
    p.drawText(mm.rect(box), flags, s);
}

void rule(QPainter &p, const PageUnits &mm, double y, const QColor &color, double widthMm)
{
    p.setPen(QPen(color, mm(widthMm)));
    p.drawLine(mm.point(kLeft, y), mm.point(kRight, y));
}

// The largest size up to `points` at which `s` fits `widthMm` on one line.
QFont fittingFont(QPainter &p, const PageUnits &mm, const QString &s, double points, double widthMm)
{
    QFont font = sheetFont(points);
    while (points > kSmallestHintPoints && QFontMetricsF(font, p.device()).horizontalAdvance(s) > mm(widthMm)) {
        points -= 0.25;
        font = sheetFont(points);
    }
    return font;
}

void paintHeader(QPainter &p, const PageUnits &mm, const SheetContent &c)
{
    p.setPen(Qt::black);
    text(p, mm, QRectF(kLeft, kTop, kRight - kLeft, 8), sheetTitle(), sheetFont(16, true));
    text(p, mm, QRectF(kLeft, kTop + 8, kRight - kLeft, 6), c.circuitName, sheetFont(12, true));
    QString dated = QStringLiteral("Дата: ") + c.date.toString(QStringLiteral("dd.MM.yyyy"));
    const QFont font = sheetFont(9);
    if (!c.objectName.isEmpty()) {
        // the object's name as long as it leaves room for the version
        const QFontMetricsF metrics(font, p.device());
        const double room = mm(kRight - kLeft - 4) - metrics.horizontalAdvance(programVersionText())
                            - metrics.horizontalAdvance(dated + QStringLiteral("    Объект: "));
        dated += QStringLiteral("    Объект: ") + metrics.elidedText(c.objectName, Qt::ElideMiddle, room);
    }
    text(p, mm, QRectF(kLeft, kTop + 15, kRight - kLeft, 5), dated, font);
    text(p, mm, QRectF(kLeft, kTop + 15, kRight - kLeft, 5), programVersionText(), font,
         Qt::AlignRight | Qt::AlignVCenter);
    rule(p, mm, kTop + 21.5, kRule, 0.3);
}

void paintSchemeBox(QPainter &p, const PageUnits &mm, const QRectF &box, int circuit)
{
    const QRectF target = mm.rect(box);
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / kSchemeWidth, target.height() / kSchemeHeight);
    paintScheme(p, circuit);
    p.restore();
    p.setPen(QPen(kGrid, mm(0.2)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(target);
}

void paintInputs(QPainter &p, const PageUnits &mm, const QRectF &box, const SheetContent &c)
{
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left(), box.top() - 7, box.width(), 6), QStringLiteral("Исходные данные"),
         sheetFont(11, true));
    const QString headers[] = {QStringLiteral("Параметр"), QStringLiteral("Описание"), QStringLiteral("Значение"),
                               QStringLiteral("Ед. изм.")};
    const int aligns[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft};
    auto row = [&](int index, const QString(&cells)[4], bool header) {
        const double y = box.top() + index * kRowHeight;
        double x = box.left();
        for (int col = 0; col < 4; ++col) {
            const QRectF cell(x + 1.5, y, kColumns[col] - 3, kRowHeight);
            const QFont font = header     ? sheetFont(9, true)
                               : col == 1 ? fittingFont(p, mm, cells[col], 9, cell.width())
                                          : sheetFont(9, col == 2);
            text(p, mm, cell, cells[col], font, aligns[col] | Qt::AlignVCenter);
            x += kColumns[col];
        }
        p.setPen(QPen(header ? kRule : kGrid, mm(header ? 0.3 : 0.15)));
        p.drawLine(mm.point(box.left(), y + kRowHeight), mm.point(box.right(), y + kRowHeight));
        p.setPen(Qt::black);
    };
    row(0, headers, true);
    int index = 1;
    for (const SheetInput &input : c.inputs) {
        const QString cells[4] = {input.name, input.hint, input.value, input.unit};
        row(index++, cells, false);
    }
}

void paintResults(QPainter &p, const PageUnits &mm, const QRectF &box, const SheetContent &c)
{
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left(), box.top(), box.width(), 6), QStringLiteral("Результаты подбора"),
         sheetFont(11, true));
    double y = box.top() + 8;
    for (int i = 0; i < c.resultLines.size(); ++i) {
        // The actual loss stands out as it does in the window.
        const QFont font = sheetFont(10, i == c.resultLines.size() - 1);
        p.setFont(font);
        const QRectF area = mm.rect(QRectF(box.left(), y, box.width(), box.bottom() - y));
        const QRectF used = p.boundingRect(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, c.resultLines[i]);
        p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, c.resultLines[i]);
        y += used.height() / mm(1) + 2.5;
    }

    // The legend of the nomogram's marks.
    y += 3;
    const bool pointShown = nomogramShows(c.valveDrop, c.flow);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kOperatingPointColor));
    if (pointShown)
        p.drawEllipse(mm.point(box.left() + 2, y + 2.5), mm(1.1), mm(1.1));
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left() + 6, y, box.width() - 6, 5),
         pointShown ? QStringLiteral("рабочая точка: dPкл и Q")
                    : QStringLiteral("рабочая точка (dPкл, Q) лежит вне поля диаграммы"),
         sheetFont(9));
    y += 6;
    if (c.chosenKvy > 0) {
        p.setPen(QPen(QColor::fromRgb(kChosenKvColor), mm(0.6)));
        p.drawLine(mm.point(box.left(), y + 2.5), mm.point(box.left() + 4.5, y + 2.5));
    }
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left() + 6, y, box.width() - 6, 5),
         c.chosenKvy > 0 ? QStringLiteral("линия выбранного Kvy") : QStringLiteral("Kvy не выбран"), sheetFont(9));
    p.setBrush(Qt::NoBrush);
}

void paintNomogramBox(QPainter &p, const PageUnits &mm, const QRectF &box, const SheetContent &c)
{
    const QRectF target = mm.rect(box);
    NomogramMarks marks;
    marks.workedExample = false;
    marks.operatingPoint = true;
    marks.valveDrop = c.valveDrop;
    marks.flow = c.flow;
    marks.chosenKv = c.chosenKvy;
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / nomogram::kWidth, target.height() / nomogram::kHeight);
    paintNomogram(p, marks);
    p.restore();
}

} // namespace

SheetLayout sheetLayout(int inputCount)
{
    SheetLayout layout;
    const double schemeTop = kTop + 24;
    layout.scheme = QRectF((kLeft + kRight - kSchemeWidthMm) / 2, schemeTop, kSchemeWidthMm,
                           kSchemeWidthMm * kSchemeHeight / kSchemeWidth);
    layout.inputs = QRectF(kLeft, layout.scheme.bottom() + 11, kRight - kLeft, (inputCount + 1) * kRowHeight);
    const double lowerTop = layout.inputs.bottom() + 5;
    const double nomogramHeight = kBottom - lowerTop;
    const double nomogramWidth = nomogramHeight * nomogram::kWidth / nomogram::kHeight;
    layout.nomogram = QRectF(kRight - nomogramWidth, lowerTop, nomogramWidth, nomogramHeight);
    layout.results = QRectF(kLeft, lowerTop, layout.nomogram.left() - 4 - kLeft, nomogramHeight);
    return layout;
}

void paintSheet(QPainter &painter, double dpi, const SheetContent &content)
{
    const PageUnits mm(dpi);
    const SheetLayout layout = sheetLayout(int(content.inputs.size()));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintHeader(painter, mm, content);
    paintSchemeBox(painter, mm, layout.scheme, content.circuit);
    paintInputs(painter, mm, layout.inputs, content);
    paintResults(painter, mm, layout.results, content);
    paintNomogramBox(painter, mm, layout.nomogram, content);
    painter.restore();
}
