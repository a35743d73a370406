#include "core/numtext.h"

#include "core/errors.h"
#include "core/textscan.h"

#include <atomic>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

std::atomic<char> g_decimalSeparator{'.'};

constexpr int kDigits = 18;

// The decimal digits of a value, cut by the precision P and the number of
// decimals F. `count` digits D1..Dcount without trailing zeros; the magnitude
// is 0.D1D2... x 10^exp.
struct DecimalDigits {
    enum Kind { Finite, Zero, Infinite, NotANumber } kind = Zero;
    bool negative = false;
    int exp = 0;
    int count = 0;
    char digit[kDigits + 1] = {};
};

// 18 significant digits of |value|, rounded to nearest.
void expandMagnitude(long double value, DecimalDigits &d)
{
    char buf[64];
    // d.ddddddddddddddddde+XXXX: always the C form, whatever the locale
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, kDigits - 1);
    const char *p = buf;
    const char *end = res.ptr;
    d.count = 0;
    while (p < end && *p != 'e') {
        if (*p >= '0' && *p <= '9' && d.count < kDigits)
            d.digit[d.count++] = *p;
        ++p;
    }
    int e = 0;
    bool eneg = false;
    if (p < end && *p == 'e') {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) {
            eneg = *p == '-';
            ++p;
        }
        while (p < end && *p >= '0' && *p <= '9')
            e = e * 10 + (*p++ - '0');
    }
    d.exp = (eneg ? -e : e) + 1;
}

// Takes the digits of `value` and rounds them at position min(E + F, P).
// `decimals` < 0 means no limit on the decimals.
DecimalDigits decimalDigits(long double value, int precision, int decimals)
{
    DecimalDigits d;
    if (std::isnan(value)) {
        d.kind = DecimalDigits::NotANumber;
        return d;
    }
    if (std::isinf(value)) {
        d.kind = DecimalDigits::Infinite;
        d.negative = std::signbit(value);
        return d;
    }
    if (value == 0) {
        d.kind = DecimalDigits::Zero;
        return d;
    }
    d.kind = DecimalDigits::Finite;
    d.negative = value < 0;
    expandMagnitude(value, d);

    long long n = decimals < 0 ? precision : static_cast<long long>(d.exp) + decimals;
    if (n > precision)
        n = precision;
    if (n < 0) {
        d.kind = DecimalDigits::Zero;
        d.negative = false;
        return d;
    }
    if (n < d.count) {
        const bool up = d.digit[n] >= '5';
        d.count = static_cast<int>(n);
        if (up) {
            int i = d.count - 1;
            while (i >= 0 && d.digit[i] == '9') {
                d.digit[i] = '0';
                --i;
            }
            if (i >= 0) {
                ++d.digit[i];
            } else {
                // carry out of D1: the single digit 1, one place higher
                d.digit[0] = '1';
                d.count = 1;
                ++d.exp;
            }
        }
    }
    while (d.count > 0 && d.digit[d.count - 1] == '0')
        --d.count;
    if (d.count == 0) {
        d.kind = DecimalDigits::Zero;
        d.negative = false;
    }
    return d;
}

std::string specialText(const DecimalDigits &d)
{
    if (d.kind == DecimalDigits::NotANumber)
        return "NAN";
    return d.negative ? "-INF" : "INF";
}

std::string scientific(const DecimalDigits &d)
{
    std::string s;
    if (d.negative)
        s += '-';
    s += d.digit[0];
    if (d.count > 1) {
        s += decimalSeparator();
        s.append(d.digit + 1, d.count - 1);
    }
    s += 'E';
    const int e = d.exp - 1;
    if (e < 0)
        s += '-';
    s += std::to_string(e < 0 ? -e : e);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

char decimalSeparator() { return g_decimalSeparator.load(std::memory_order_relaxed); }

void setDecimalSeparator(char sep) { g_decimalSeparator.store(sep, std::memory_order_relaxed); }

std::string formatFixed(long double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > kDigits)
        decimals = kDigits;
    DecimalDigits d = decimalDigits(value, kDigits, decimals);
    if (d.kind == DecimalDigits::NotANumber || d.kind == DecimalDigits::Infinite)
        return specialText(d);
    if (d.kind == DecimalDigits::Finite && d.exp > kDigits) {
        d = decimalDigits(value, kDigits, -1);
        return scientific(d);
    }

    std::string s;
    if (d.kind == DecimalDigits::Zero) {
        s = "0";
        if (decimals > 0) {
            s += decimalSeparator();
            s.append(decimals, '0');
        }
        return s;
    }
    if (d.negative)
        s += '-';
    int used = 0;
    if (d.exp <= 0) {
        s += '0';
    } else {
        for (int i = 0; i < d.exp; ++i)
            s += i < d.count ? d.digit[i] : '0';
        used = d.exp < d.count ? d.exp : d.count;
    }
    if (decimals > 0) {
        s += decimalSeparator();
        int written = 0;
        if (d.exp < 0) {
            const int zeros = -d.exp < decimals ? -d.exp : decimals;
            s.append(zeros, '0');
            written = zeros;
        }
        for (int i = used; i < d.count && written < decimals; ++i, ++written)
            s += d.digit[i];
        s.append(decimals - written, '0');
    }
    return s;
}

std::string FormatSettingsValue(double value)
{
    const DecimalDigits d = decimalDigits(value, 15, -1);
    if (d.kind == DecimalDigits::NotANumber || d.kind == DecimalDigits::Infinite)
        return specialText(d);
    if (d.kind == DecimalDigits::Zero)
        return "0";
    if (d.exp < -3 || d.exp > 15)
        return scientific(d);

    std::string s;
    if (d.negative)
        s += '-';
    if (d.exp > 0) {
        for (int i = 0; i < d.exp; ++i)
            s += i < d.count ? d.digit[i] : '0';
        if (d.count > d.exp) {
            s += decimalSeparator();
            s.append(d.digit + d.exp, d.count - d.exp);
        }
    } else {
        s += '0';
        s += decimalSeparator();
        s.append(-d.exp, '0');
        s.append(d.digit, d.count);
    }
    return s;
}

bool ParseSettingsValue(std::string_view text, long double &out)
{
    const char sep = decimalSeparator();
    std::size_t i = 0;
    const std::size_t n = text.size();
    skipSpaces(text, i);
    const bool negative = takeSign(text, i);

    // Significant digits without leading zeros; the point only moves the
    // scale. Kept as text and converted at the end, correctly rounded.
    std::string mantissa;
    long long scale = 0; // power of ten applied to `mantissa`
    bool any = false;
    while (i < n && isDigit(text[i])) {
        any = true;
        if (!mantissa.empty() || text[i] != '0')
            mantissa += text[i];
        ++i;
    }
    if (i < n && text[i] == sep) {
        any = true;
        ++i;
        while (i < n && isDigit(text[i])) {
            if (!mantissa.empty() || text[i] != '0')
                mantissa += text[i];
            --scale;
            ++i;
        }
    }
    if (!any)
        return false;

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool eneg = takeSign(text, i);
        // Digits are taken while the exponent so far is below 500; one more
        // digit after that is left and fails the text below.
        while (i < n && isDigit(text[i]) && exponent < 500) {
            exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (eneg)
            exponent = -exponent;
    }
    skipSpaces(text, i);
    if (i != n)
        return false;

    long double value = 0;
    if (!mantissa.empty()) {
        // digits beyond the mantissa length shift the scale: drop trailing
        // zeros to keep the text short
        std::size_t len = mantissa.size();
        while (len > 1 && mantissa[len - 1] == '0') {
            --len;
            ++scale;
        }
        mantissa.resize(len);
        const long long e10 = scale + exponent;
        mantissa += 'e';
        mantissa += std::to_string(e10);
        // The text holds digits and an exponent only, no decimal point, so
        // the locale's separator plays no part. strtold reports range
        // errors through errno only; the value is then infinity or the
        // underflowed result, which is what we want.
        const int savedErrno = errno;
        value = std::strtold(mantissa.c_str(), nullptr);
        errno = savedErrno;
    }
    out = negative ? -value : value;
    return true;
}

double storeDouble(long double value)
{
    if (std::isnan(value))
        throw EInvalidOp();
    // Values from DBL_MAX up to half a unit beyond it still round to DBL_MAX.
    static const long double limit = std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 970);
    if (std::fabs(value) >= limit)
        throw EOverflow();
    return static_cast<double>(value);
}

double TruncateTowardZero(double value) { return static_cast<double>(std::trunc(static_cast<long double>(value))); }

std::string fillTemplate(std::string_view format, const std::string &number)
{
    static constexpr std::string_view kDirective = "%.2f";
    const std::size_t pos = format.find(kDirective);
    std::string s(format);
    if (pos != std::string_view::npos)
        s.replace(pos, kDirective.size(), number);
    return s;
}
