#pragma once
// Number texts: the fixed-decimals form of result lines and entry fields,
// the general form written to settings.ini, the reading of number texts,
// and truncation toward zero. All use the process decimal separator.
#include <string>
#include <string_view>

// Process-wide decimal separator; "." from start-up to exit.
char decimalSeparator();
void setDecimalSeparator(char sep);

// Fixed-point text with exactly `decimals` (0..18) digits after the separator,
// rounded half away from zero on the 18-significant-digit expansion.
std::string formatFixed(long double value, int decimals);
inline std::string FormatTwoDecimals(double value) { return formatFixed(value, 2); }

// General form, at most 15 significant digits ("12.35", "1E-5", "1E15").
std::string FormatSettingsValue(double value);

// Reads a number text. Returns false (and leaves `out` alone) on failure.
// Never raises; the result is in extended precision.
bool ParseSettingsValue(std::string_view text, long double &out);

// Stores an extended value into a double: raises EOverflow beyond the
// double range (and EInvalidOp for NaN); values below the smallest
// subnormal become 0.
double storeDouble(long double value);

// Integral part, rounding toward zero: 6.97 -> 6, -1.5 -> -1.
double TruncateTowardZero(double value);

// Puts `number` in place of the single "%.2f" directive of `format`.
std::string fillTemplate(std::string_view format, const std::string &number);
