#pragma once
// Geometry of the nomogram picture: the plot area in pixels and the
// log-log mapping of valve drop (across) and flow (up) onto it. Shared by
// the drawing of the picture (generator and sizing sheet) and the tests
// that check the drawn lines.
#include <array>
#include <cmath>

namespace nomogram {

constexpr int kWidth = 423;
constexpr int kHeight = 557;

// Plot area frame, pixel centres of its border lines.
constexpr int kPlotLeft = 62;
constexpr int kPlotRight = 410; // 3 decades x 116 px
constexpr int kPlotTop = 14;
constexpr int kPlotBottom = 510; // 4 decades x 124 px

// Valve drop dPкл, atm, across; flow Q, m3/h, up.
constexpr double kDpMin = 0.01;
constexpr double kDpMax = 10.0;
constexpr double kQMin = 0.1;
constexpr double kQMax = 1000.0;

// The capacities drawn as lines Q = Kv * sqrt(dP).
constexpr std::array<double, 12> kKvValues = {1.6, 2.5, 4, 6.3, 10, 16, 25, 40, 63, 100, 160, 250};

// The worked example: a valve drop of 0.6 atm and a flow of 3 m3/h.
constexpr double kExampleDp = 0.6;
constexpr double kExampleQ = 3.0;

// Horizontal pixel coordinate of a valve drop (fractional).
inline double xOfDp(double dp)
{
    return kPlotLeft
           + (std::log10(dp) - std::log10(kDpMin)) / (std::log10(kDpMax) - std::log10(kDpMin))
                 * (kPlotRight - kPlotLeft);
}

// Vertical pixel coordinate of a flow (fractional; larger flows higher up).
inline double yOfQ(double q)
{
    return kPlotBottom
           - (std::log10(q) - std::log10(kQMin)) / (std::log10(kQMax) - std::log10(kQMin)) * (kPlotBottom - kPlotTop);
}

// Inverse mappings, for reading a point of the picture.
inline double dpOfX(double x)
{
    return std::pow(10.0, std::log10(kDpMin)
                              + (x - kPlotLeft) / (kPlotRight - kPlotLeft) * (std::log10(kDpMax) - std::log10(kDpMin)));
}

inline double qOfY(double y)
{
    return std::pow(10.0, std::log10(kQMin)
                              + (kPlotBottom - y) / (kPlotBottom - kPlotTop) * (std::log10(kQMax) - std::log10(kQMin)));
}

inline double flowOf(double kv, double dp) { return kv * std::sqrt(dp); }

// Valve drop at which a Kv line carries flow q.
inline double dropOf(double kv, double q) { return (q / kv) * (q / kv); }

// The Kv labels sit along their lines around this valve drop.
constexpr double kLabelDp = 5.0;

} // namespace nomogram
