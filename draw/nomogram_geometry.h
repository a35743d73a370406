#pragma once
// Geometry of the nomogram picture: the plot area in pixels and the
// log-log mapping of valve drop (across) and flow (up) onto it. Shared by
// the drawing of the picture (generator and sizing sheet) and the tests
// that check the drawn lines.
#include <array>
#include <cmath>

namespace nomogram {

constexpr int Width = 423;
constexpr int Height = 557;

// Plot area frame, pixel centres of its border lines.
constexpr int PlotLeft = 62;
constexpr int PlotRight = 410;   // 3 decades x 116 px
constexpr int PlotTop = 14;
constexpr int PlotBottom = 510;  // 4 decades x 124 px

// Valve drop dPкл, atm, across; flow Q, m3/h, up.
constexpr double DpMin = 0.01;
constexpr double DpMax = 10.0;
constexpr double QMin = 0.1;
constexpr double QMax = 1000.0;

// The capacities drawn as lines Q = Kv * sqrt(dP).
constexpr std::array<double, 12> KvValues = {1.6, 2.5, 4, 6.3, 10, 16, 25, 40, 63, 100, 160, 250};

// The worked example: a valve drop of 0.6 atm and a flow of 3 m3/h.
constexpr double ExampleDp = 0.6;
constexpr double ExampleQ = 3.0;

// Horizontal pixel coordinate of a valve drop (fractional).
inline double XOfDp(double dp)
{
    return PlotLeft + (std::log10(dp) - std::log10(DpMin))
                          / (std::log10(DpMax) - std::log10(DpMin)) * (PlotRight - PlotLeft);
}

// Vertical pixel coordinate of a flow (fractional; larger flows higher up).
inline double YOfQ(double q)
{
    return PlotBottom - (std::log10(q) - std::log10(QMin))
                            / (std::log10(QMax) - std::log10(QMin)) * (PlotBottom - PlotTop);
}

// Inverse mappings, for reading a point of the picture.
inline double DpOfX(double x)
{
    return std::pow(10.0, std::log10(DpMin) + (x - PlotLeft) / (PlotRight - PlotLeft)
                                                  * (std::log10(DpMax) - std::log10(DpMin)));
}

inline double QOfY(double y)
{
    return std::pow(10.0, std::log10(QMin) + (PlotBottom - y) / (PlotBottom - PlotTop)
                                                 * (std::log10(QMax) - std::log10(QMin)));
}

inline double FlowOf(double kv, double dp)
{
    return kv * std::sqrt(dp);
}

// Valve drop at which a Kv line carries flow q.
inline double DropOf(double kv, double q)
{
    return (q / kv) * (q / kv);
}

// The Kv labels sit along their lines around this valve drop.
constexpr double LabelDp = 5.0;

} // namespace nomogram
