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
#include "sheet/pagekit.h"
#include "sheet/sheetcontent.h"
#include "ui/lookandfeel.h"

namespace {

// Page frame, millimetres.
constexpr double kLeft = page::kLeft;
constexpr double kRight = page::kRight;
constexpr double kTop = page::kTop;
constexpr double kBottom = page::kBottom;
constexpr double kRowHeight = 6;
constexpr double kSchemeWidthMm = 140;
// With the valve check: the smaller scheme and input rows, the check's
// lines (its inputs, the flow, Kv, the cavitation limit), its table's
// header and rows.
constexpr double kCompactRowHeight = 5;
constexpr double kCompactSchemeWidthMm = 96;
constexpr int kCheckLines = 4;
constexpr double kCheckLineHeight = 4.5;
constexpr double kCheckHeaderHeight = 5;
constexpr double kCheckRowHeight = 10;
// Columns of the check's table: Kvy, loss, authority, the two cavitation
// verdicts.
constexpr double kCheckColumns[] = {21, 20, 40, 48, 48};
// The smallest size a verdict is set in to fit its cell.
constexpr double kSmallestVerdictPoints = 5.5;
// Columns of the input table: caption, hint, value, unit.
constexpr double kColumns[] = {20, 121, 20, 16};
// The smallest size a hint is set in before it is wrapped.
constexpr double kSmallestHintPoints = 6.5;

const QColor kRule(120, 120, 120);
const QColor kGrid(190, 190, 190);

using PageUnits = page::Units;

QFont sheetFont(double points, bool bold = false) { return page::font(points, bold); }

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
    const double rowHeight = box.height() / double(c.inputs.size() + 1);
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left(), box.top() - 7, box.width(), 6), QStringLiteral("Исходные данные"),
         sheetFont(11, true));
    const QString headers[] = {QStringLiteral("Параметр"), QStringLiteral("Описание"), QStringLiteral("Значение"),
                               QStringLiteral("Ед. изм.")};
    const int aligns[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft};
    auto row = [&](int index, const QString(&cells)[4], bool header) {
        const double y = box.top() + index * rowHeight;
        double x = box.left();
        for (int col = 0; col < 4; ++col) {
            const QRectF cell(x + 1.5, y, kColumns[col] - 3, rowHeight);
            const QFont font = header     ? sheetFont(9, true)
                               : col == 1 ? fittingFont(p, mm, cells[col], 9, cell.width())
                                          : sheetFont(9, col == 2);
            text(p, mm, cell, cells[col], font, aligns[col] | Qt::AlignVCenter);
            x += kColumns[col];
        }
        p.setPen(QPen(header ? kRule : kGrid, mm(header ? 0.3 : 0.15)));
        p.drawLine(mm.point(box.left(), y + rowHeight), mm.point(box.right(), y + rowHeight));
        p.setPen(Qt::black);
    };
    row(0, headers, true);
    int index = 1;
    for (const SheetInput &input : c.inputs) {
        const QString cells[4] = {input.name, input.hint, input.value, input.unit};
        row(index++, cells, false);
    }
}

// `s` wrapped into a cell given in millimetres, at the largest size up to
// `points` at which it fits the cell's height.
void wrappedText(QPainter &p, const PageUnits &mm, const QRectF &cell, const QString &s, double points,
                 const QColor &color, bool bold = false)
{
    const QRectF area = mm.rect(cell);
    constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QFont font = sheetFont(points, bold);
    p.setFont(font);
    while (points > kSmallestVerdictPoints && p.boundingRect(area, flags, s).height() > area.height()) {
        points -= 0.25;
        font = sheetFont(points, bold);
        p.setFont(font);
    }
    p.setPen(color);
    p.drawText(area, flags, s);
}

QString qtext(const std::string &s) { return QString::fromStdString(s); }

// The valve check: its inputs, the flow, Kv and the cavitation limit, then
// one row of the table a Kvy, verdicts in their words and colours.
void paintCheck(QPainter &p, const PageUnits &mm, const QRectF &box, const CheckTexts &check)
{
    p.setPen(Qt::black);
    text(p, mm, QRectF(box.left(), box.top() - 7, box.width(), 6), QStringLiteral("Проверка подбора"),
         sheetFont(11, true));
    const struct {
        const std::string &text;
        VerdictTone tone;
        bool bold;
    } lines[kCheckLines] = {{check.inputs, VerdictTone::Neutral, false},
                            {check.flow, check.flowTone, true},
                            {check.series, VerdictTone::Neutral, false},
                            {check.limit, check.limitTone, false}};
    double y = box.top();
    for (const auto &line : lines) {
        p.setPen(verdictColor(line.tone));
        text(p, mm, QRectF(box.left(), y, box.width(), kCheckLineHeight), qtext(line.text), sheetFont(9, line.bold));
        y += kCheckLineHeight;
    }
    if (check.rows.empty())
        return;
    const QString headers[] = {QStringLiteral("Kvy, м3/ч"), QStringLiteral("Потери, атм"), QStringLiteral("Авторитет"),
                               QStringLiteral("Кавитация в рабочей точке"), QStringLiteral("Кавитация при закрытии")};
    const auto rowRule = [&](double at, bool header) {
        p.setPen(QPen(header ? kRule : kGrid, mm(header ? 0.3 : 0.15)));
        p.drawLine(mm.point(box.left(), at), mm.point(box.right(), at));
    };
    double x = box.left();
    for (int col = 0; col < 5; ++col) {
        p.setPen(Qt::black);
        text(p, mm, QRectF(x + 1, y, kCheckColumns[col] - 2, kCheckHeaderHeight), headers[col], sheetFont(8, true));
        x += kCheckColumns[col];
    }
    y += kCheckHeaderHeight;
    rowRule(y, true);
    const QColor plain = verdictColor(VerdictTone::Neutral);
    for (const CheckRowTexts &row : check.rows) {
        const double top = y + 0.8;
        const double height = kCheckRowHeight - 1.2;
        x = box.left();
        const auto cell = [&](int col) {
            const QRectF r(x + 1, top, kCheckColumns[col] - 2, height);
            x += kCheckColumns[col];
            return r;
        };
        const QRectF kvyCell = cell(0);
        wrappedText(p, mm, QRectF(kvyCell.topLeft(), QSizeF(kvyCell.width(), 4)), qtext(row.kvy), 8, plain, true);
        wrappedText(p, mm, kvyCell.adjusted(0, 4, 0, 0), qtext(row.kind), 6.5, plain);
        wrappedText(p, mm, cell(1), qtext(row.loss), 8, plain);
        wrappedText(p, mm, cell(2), qtext(row.authority), 7.5, verdictColor(row.authorityTone));
        wrappedText(p, mm, cell(3), qtext(row.designPoint), 7.5, verdictColor(row.designPointTone));
        wrappedText(p, mm, cell(4), qtext(row.closing), 7.5, verdictColor(row.closingTone));
        y += kCheckRowHeight;
        rowRule(y, false);
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

SheetLayout sheetLayout(int inputCount, int checkRows)
{
    SheetLayout layout;
    const bool withCheck = checkRows >= 0;
    const double schemeTop = kTop + 24;
    const double schemeWidth = withCheck ? kCompactSchemeWidthMm : kSchemeWidthMm;
    const double rowHeight = withCheck ? kCompactRowHeight : kRowHeight;
    layout.scheme =
        QRectF((kLeft + kRight - schemeWidth) / 2, schemeTop, schemeWidth, schemeWidth * kSchemeHeight / kSchemeWidth);
    layout.inputs = QRectF(kLeft, layout.scheme.bottom() + 11, kRight - kLeft, (inputCount + 1) * rowHeight);
    double lowerTop = layout.inputs.bottom() + 5;
    if (withCheck) {
        const int rows = std::min(checkRows, 3);
        const double table = rows > 0 ? kCheckHeaderHeight + rows * kCheckRowHeight : 0;
        layout.check =
            QRectF(kLeft, layout.inputs.bottom() + 11, kRight - kLeft, kCheckLines * kCheckLineHeight + table);
        lowerTop = layout.check.bottom() + 5;
    }
    const double nomogramHeight = kBottom - lowerTop;
    const double nomogramWidth = nomogramHeight * nomogram::kWidth / nomogram::kHeight;
    layout.nomogram = QRectF(kRight - nomogramWidth, lowerTop, nomogramWidth, nomogramHeight);
    layout.results = QRectF(kLeft, lowerTop, layout.nomogram.left() - 4 - kLeft, nomogramHeight);
    return layout;
}

void paintSheet(QPainter &painter, double dpi, const SheetContent &content)
{
    const PageUnits mm(dpi);
    const SheetLayout layout =
        sheetLayout(int(content.inputs.size()), content.check ? int(content.check->rows.size()) : -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintHeader(painter, mm, content);
    paintSchemeBox(painter, mm, layout.scheme, content.circuit);
    paintInputs(painter, mm, layout.inputs, content);
    if (content.check)
        paintCheck(painter, mm, layout.check, *content.check);
    paintResults(painter, mm, layout.results, content);
    paintNomogramBox(painter, mm, layout.nomogram, content);
    painter.restore();
}
