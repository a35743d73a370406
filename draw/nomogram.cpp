#include "draw/nomogram.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QtMath>

#include <cmath>

#include "draw/drawkit.h"
#include "draw/nomogram_geometry.h"
#include "draw/schemes.h"

using namespace nomogram;

namespace {

const QColor kMinorGrid(205, 205, 205);
const QColor kMajorGrid(140, 140, 140);
const QColor kExample(20, 60, 190);
const QColor kReadOff(70, 70, 70);

QString numberText(double v) { return QString::number(v, 'g', 6); }

// Grid: crisp one-pixel lines on whole pixels.
void drawGrid(QPainter &p)
{
    auto vline = [&](int x, const QColor &c) {
        p.setPen(QPen(c, 1));
        p.drawLine(QPointF(x + 0.5, kPlotTop + 0.5), QPointF(x + 0.5, kPlotBottom + 0.5));
    };
    auto hline = [&](int y, const QColor &c) {
        p.setPen(QPen(c, 1));
        p.drawLine(QPointF(kPlotLeft + 0.5, y + 0.5), QPointF(kPlotRight + 0.5, y + 0.5));
    };
    for (double decade = kDpMin; decade < kDpMax * 0.999; decade *= 10)
        for (int k = 2; k <= 9; ++k)
            vline(qRound(xOfDp(decade * k)), kMinorGrid);
    for (double decade = kQMin; decade < kQMax * 0.999; decade *= 10)
        for (int k = 2; k <= 9; ++k)
            hline(qRound(yOfQ(decade * k)), kMinorGrid);
    for (double v = kDpMin * 10; v < kDpMax * 0.999; v *= 10)
        vline(qRound(xOfDp(v)), kMajorGrid);
    for (double v = kQMin * 10; v < kQMax * 0.999; v *= 10)
        hline(qRound(yOfQ(v)), kMajorGrid);
}

// Tick labels at 1, 2 and 5 of every decade, and the axis titles.
void drawAxes(QPainter &p)
{
    const QFont major = pictureFont(12);
    const QFont minor = pictureFont(10);
    p.setPen(Qt::black);
    auto xLabel = [&](double v, bool isMajor) {
        p.setFont(isMajor ? major : minor);
        p.setPen(isMajor ? QColor(Qt::black) : QColor(90, 90, 90));
        const double x = qRound(xOfDp(v)) + 0.5;
        p.drawText(QRectF(x - 20, kPlotBottom + 3, 40, 16), Qt::AlignHCenter | Qt::AlignTop, numberText(v));
    };
    auto yLabel = [&](double v, bool isMajor) {
        p.setFont(isMajor ? major : minor);
        p.setPen(isMajor ? QColor(Qt::black) : QColor(90, 90, 90));
        const double y = qRound(yOfQ(v)) + 0.5;
        p.drawText(QRectF(kPlotLeft - 44, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter, numberText(v));
    };
    for (double v = kDpMin; v < kDpMax * 1.001; v *= 10) {
        xLabel(v, true);
        if (v < kDpMax * 0.999) {
            xLabel(v * 2, false);
            xLabel(v * 5, false);
        }
    }
    for (double v = kQMin; v < kQMax * 1.001; v *= 10) {
        yLabel(v, true);
        if (v < kQMax * 0.999) {
            yLabel(v * 2, false);
            yLabel(v * 5, false);
        }
    }

    p.setPen(Qt::black);
    p.setFont(pictureFont(13, true));
    p.drawText(QRectF(0, kPlotBottom + 22, kWidth, 20), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Перепад давления клапана ΔPкл (атм)"));
    p.save();
    p.translate(4, (kPlotTop + kPlotBottom) / 2.0);
    p.rotate(-90);
    p.drawText(QRectF(-200, 0, 400, 18), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Расход Q (м³/ч)"));
    p.restore();
}

// A straight line in log-log coordinates: its two end points suffice.
void drawKvLine(QPainter &p, double kv)
{
    const QPointF a(xOfDp(kDpMin), yOfQ(flowOf(kv, kDpMin)));
    const QPointF b(xOfDp(kDpMax), yOfQ(flowOf(kv, kDpMax)));
    p.drawLine(a + QPointF(0.5, 0.5), b + QPointF(0.5, 0.5));
}

// From the drop axis up to the point, then across to the flow axis.
void drawReadOff(QPainter &p, QPointF hit)
{
    p.drawLine(QPointF(hit.x(), kPlotBottom + 0.5), hit);
    p.drawLine(QPointF(kPlotLeft + 0.5, hit.y()), hit);
}

// Kv labels along their lines, on a white halo.
void drawKvLabels(QPainter &p)
{
    const QFont kvFont = pictureFont(11, true);
    const QFontMetricsF fm(kvFont);
    const double angle = -qRadiansToDegrees(
        std::atan2(yOfQ(flowOf(1, kDpMin)) - yOfQ(flowOf(1, kDpMax)), xOfDp(kDpMax) - xOfDp(kDpMin)));
    p.setFont(kvFont);
    for (double kv : kKvValues) {
        const QString t = kv == kKvValues.front() ? QStringLiteral("Kv=") + numberText(kv) : numberText(kv);
        const QPointF at(xOfDp(kLabelDp) + 0.5, yOfQ(flowOf(kv, kLabelDp)) + 0.5);
        const double w = fm.horizontalAdvance(t);
        p.save();
        p.translate(at);
        p.rotate(angle);
        const QRectF box(-w / 2 - 1.5, -fm.ascent() - 3.5, w + 3, fm.ascent() + 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(Qt::black);
        p.drawText(QPointF(-w / 2, -3.5), t);
        p.restore();
    }
}

} // namespace

QPointF nomogramPoint(double valveDrop, double flow) { return QPointF(xOfDp(valveDrop) + 0.5, yOfQ(flow) + 0.5); }

bool nomogramShows(double valveDrop, double flow)
{
    return valveDrop >= kDpMin && valveDrop <= kDpMax && flow >= kQMin && flow <= kQMax;
}

void paintNomogram(QPainter &p, const NomogramMarks &marks)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF plot(kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
    drawGrid(p);
    drawAxes(p);

    // Kv lines and the marks on them, clipped to the plot area
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.setClipRect(plot.adjusted(0.5, 0.5, 0.5, 0.5));
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (double kv : kKvValues)
        drawKvLine(p, kv);
    if (marks.chosenKv > 0 && std::isfinite(marks.chosenKv)) {
        p.setPen(QPen(QColor::fromRgb(kChosenKvColor), 2.6, Qt::SolidLine, Qt::FlatCap));
        drawKvLine(p, marks.chosenKv);
    }

    if (marks.workedExample) {
        QPen examplePen(kExample, 2.2, Qt::CustomDashLine, Qt::FlatCap);
        examplePen.setDashPattern({4, 2.5});
        p.setPen(examplePen);
        const QPointF hit = nomogramPoint(kExampleDp, kExampleQ);
        drawReadOff(p, hit);
        p.setPen(QPen(kExample, 1.8));
        p.setBrush(Qt::white);
        p.drawEllipse(hit, 3.5, 3.5);
    }
    p.restore();

    drawKvLabels(p);

    // plot frame on top
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop));

    // the operating point over everything, so no label hides it
    if (marks.operatingPoint && nomogramShows(marks.valveDrop, marks.flow)) {
        const QPointF hit = nomogramPoint(marks.valveDrop, marks.flow);
        p.setRenderHint(QPainter::Antialiasing);
        QPen readOff(kReadOff, 1.2, Qt::CustomDashLine, Qt::FlatCap);
        readOff.setDashPattern({4, 2.5});
        p.setPen(readOff);
        drawReadOff(p, hit);
        p.setPen(QPen(Qt::white, 1.2));
        p.setBrush(QColor::fromRgb(kOperatingPointColor));
        p.drawEllipse(hit, 5.0, 5.0);
    }
    p.restore();
}

QImage renderNomogram(int scale)
{
    QImage image = blankPicture(kWidth, kHeight, scale);
    QPainter painter(&image);
    if (scale != 1)
        painter.scale(scale, scale);
    paintNomogram(painter);
    return image;
}
