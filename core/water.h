#pragma once
// Properties of water from the IAPWS industrial formulation of 1997
// (IAPWS-IF97): the saturation line (region 4) and liquid water (region 1).
// SI units as the formulation states them: temperatures in K, pressures in
// MPa (absolute), specific volume in m3/kg, specific enthalpy in kJ/kg.
// Outside the range a function gives the reason, never a number.

// Why a water property has no value.
enum class WaterError {
    None,
    TemperatureBelowRange,   // below 0.01 °C
    TemperatureAboveRange,   // above 350 °C for liquid water, above the critical point for saturation
    PressureBelowSaturation, // not liquid: steam at that temperature
    PressureAboveRange,      // above 100 MPa
};

// Either the value of a property or the reason it has none.
class WaterProperty
{
public:
    static WaterProperty of(double value) { return WaterProperty(value, WaterError::None); }
    static WaterProperty outOfRange(WaterError error) { return WaterProperty(0, error); }

    bool ok() const { return m_error == WaterError::None; }
    WaterError error() const { return m_error; }
    // The value; raises std::logic_error when there is none.
    double value() const;

private:
    WaterProperty(double value, WaterError error) : m_value(value), m_error(error) {}
    double m_value;
    WaterError m_error;
};

constexpr double kCelsiusZeroK = 273.15;
constexpr double kelvinFromCelsius(double celsius) { return celsius + kCelsiusZeroK; }

// The range of the two regions used here. The lowest temperature is 0.01 °C
// as the conversion above gives it, so that 0.01 °C itself is inside.
constexpr double kWaterMinTemperatureK = kelvinFromCelsius(0.01);
constexpr double kLiquidMaxTemperatureK = kelvinFromCelsius(350); // 623.15 K, the top of region 1
constexpr double kCriticalTemperatureK = 647.096;                 // the top of the saturation line
constexpr double kWaterMaxPressureMPa = 100;

// Region 4: the saturation pressure [MPa] at a temperature [K], from
// 0.01 °C to the critical point.
WaterProperty saturationPressureMPa(double temperatureK);

// Region 1: liquid water at a pressure [MPa, absolute] and a temperature
// [K], from 0.01 °C to 350 °C and from the saturation pressure of that
// temperature up to 100 MPa.
WaterProperty specificVolumeM3PerKg(double pressureMPa, double temperatureK);
WaterProperty specificEnthalpyKJPerKg(double pressureMPa, double temperatureK);
