#include "core/water.h"

#include <cmath>
#include <stdexcept>

double WaterProperty::value() const
{
    if (!ok())
        throw std::logic_error("water property outside the range of IAPWS-IF97");
    return m_value;
}

namespace {

constexpr double kGasConstantKJPerKgK = 0.461526; // specific gas constant of water

// Region 4, the saturation-pressure equation.
constexpr double kN4[] = {0.11670521452767E+04,  -0.72421316703206E+06, -0.17073846940092E+02, 0.12020824702470E+05,
                          -0.32325550322333E+07, 0.14915108613530E+02,  -0.48232657361591E+04, 0.40511340542057E+06,
                          -0.23855557567849E+00, 0.65017534844798E+03};

// Region 1, the dimensionless Gibbs free energy: n_i (7.1 - pi)^I_i (tau - 1.222)^J_i,
// with pi = p / 16.53 MPa and tau = 1386 K / T.
struct GibbsTerm {
    int I;
    int J;
    double n;
};

constexpr GibbsTerm kRegion1[] = {
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},       {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},       {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},      {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3},    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},     {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},     {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},    {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},     {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},    {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9},    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22}, {31, -40, 0.18228094581404e-23},
    {32, -41, -0.93537087292458e-25},
};

constexpr double kRegion1PressureMPa = 16.53;
constexpr double kRegion1TemperatureK = 1386;

double saturationPressureInRange(double temperatureK)
{
    const double *n = kN4;
    const double theta = temperatureK + n[8] / (temperatureK - n[9]);
    const double a = theta * theta + n[0] * theta + n[1];
    const double b = n[2] * theta * theta + n[3] * theta + n[4];
    const double c = n[5] * theta * theta + n[6] * theta + n[7];
    return std::pow(2 * c / (-b + std::sqrt(b * b - 4 * a * c)), 4);
}

WaterError temperatureError(double temperatureK, double maxK)
{
    if (!(temperatureK >= kWaterMinTemperatureK))
        return WaterError::TemperatureBelowRange;
    if (!(temperatureK <= maxK))
        return WaterError::TemperatureAboveRange;
    return WaterError::None;
}

WaterError region1Error(double pressureMPa, double temperatureK)
{
    const WaterError t = temperatureError(temperatureK, kLiquidMaxTemperatureK);
    if (t != WaterError::None)
        return t;
    if (!(pressureMPa <= kWaterMaxPressureMPa))
        return WaterError::PressureAboveRange;
    if (pressureMPa < saturationPressureInRange(temperatureK))
        return WaterError::PressureBelowSaturation;
    return WaterError::None;
}

} // namespace

WaterProperty saturationPressureMPa(double temperatureK)
{
    const WaterError e = temperatureError(temperatureK, kCriticalTemperatureK);
    if (e != WaterError::None)
        return WaterProperty::outOfRange(e);
    return WaterProperty::of(saturationPressureInRange(temperatureK));
}

WaterProperty specificVolumeM3PerKg(double pressureMPa, double temperatureK)
{
    const WaterError e = region1Error(pressureMPa, temperatureK);
    if (e != WaterError::None)
        return WaterProperty::outOfRange(e);
    const double pi = pressureMPa / kRegion1PressureMPa;
    const double tau = kRegion1TemperatureK / temperatureK;
    // the derivative of the Gibbs energy by pi
    double gammaPi = 0;
    for (const GibbsTerm &t : kRegion1)
        gammaPi -= t.n * t.I * std::pow(7.1 - pi, t.I - 1) * std::pow(tau - 1.222, t.J);
    // R T / p is in kJ/(kg MPa), a thousandth of a m3/kg
    return WaterProperty::of(pi * gammaPi * kGasConstantKJPerKgK * temperatureK / pressureMPa / 1000);
}

WaterProperty specificEnthalpyKJPerKg(double pressureMPa, double temperatureK)
{
    const WaterError e = region1Error(pressureMPa, temperatureK);
    if (e != WaterError::None)
        return WaterProperty::outOfRange(e);
    const double pi = pressureMPa / kRegion1PressureMPa;
    const double tau = kRegion1TemperatureK / temperatureK;
    // the derivative of the Gibbs energy by tau
    double gammaTau = 0;
    for (const GibbsTerm &t : kRegion1)
        gammaTau += t.n * t.J * std::pow(7.1 - pi, t.I) * std::pow(tau - 1.222, t.J - 1);
    return WaterProperty::of(tau * gammaTau * kGasConstantKJPerKgK * temperatureK);
}
