#include "core/errors.h"
#include "core/numtext.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>

class TestNumText : public QObject
{
    Q_OBJECT
private slots:
    void formatTwoDecimals_data();
    void formatTwoDecimals();
    void formatFixedDecimals_data();
    void formatFixedDecimals();
    void formatSettingsValue_data();
    void formatSettingsValue();
    void parse_data();
    void parse();
    void parseFailureLeavesOutput();
    void roundTripHundredths();
    void roundTripTenths();
    void storeDouble();
    void truncateTowardZero_data();
    void truncateTowardZero();
    void fillTemplate();
    void processSeparator();
    void cLocaleWithComma();
    void cppGlobalLocaleWithComma();
};

void TestNumText::formatTwoDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.125 half up") << 0.125 << "0.13";
    QTest::newRow("0.135") << 0.135 << "0.14";
    QTest::newRow("2.675 below half") << 2.675 << "2.67";
    QTest::newRow("1.005 below half") << 1.005 << "1.00";
    QTest::newRow("0.8") << 0.8 << "0.80";
    QTest::newRow("sqrt5") << std::sqrt(5.0) << "2.24";
    QTest::newRow("-0.4") << -0.4 << "-0.40";
    QTest::newRow("0.005") << 0.005 << "0.01";
    QTest::newRow("-0.005") << -0.005 << "-0.01";
    QTest::newRow("-0.004") << -0.004 << "0.00";
    QTest::newRow("-0.0") << -0.0 << "0.00";
    QTest::newRow("0") << 0.0 << "0.00";
    QTest::newRow("tiny negative drop") << -2.7755575615628914e-17 << "0.00";
    QTest::newRow("1234567.891") << 1234567.891 << "1234567.89";
    QTest::newRow("0.995 just below half") << 0.995 << "0.99";
    QTest::newRow("0.9951 carries") << 0.9951 << "1.00";
    QTest::newRow("9.999 carries") << 9.999 << "10.00";
    QTest::newRow("99.995") << 99.995 << "100.00";
    QTest::newRow("0.0449") << 0.0449 << "0.04";
    QTest::newRow("123") << 123.0 << "123.00";
    QTest::newRow("1e17") << 1e17 << "100000000000000000.00";
    QTest::newRow("1e18 scientific") << 1e18 << "1E18";
    QTest::newRow("-1.5e20 scientific") << -1.5e20 << "-1.5E20";
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << "INF";
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << "-INF";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "NAN";
}

void TestNumText::formatTwoDecimals()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(value)), text);
}

void TestNumText::formatFixedDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 decimals round up") << 2.5 << 0 << "3";
    QTest::newRow("0 decimals -0.4") << -0.4 << 0 << "0";
    QTest::newRow("0 decimals 0.5") << 0.5 << 0 << "1";
    QTest::newRow("1 decimal exact half") << 12.25 << 1 << "12.3";
    QTest::newRow("1 decimal negative half") << -12.25 << 1 << "-12.3";
    QTest::newRow("1 decimal 12.35 below half") << 12.35 << 1 << "12.3";
    QTest::newRow("3 decimals small") << 0.0005 << 3 << "0.001";
    QTest::newRow("3 decimals smaller") << 0.0004 << 3 << "0.000";
    QTest::newRow("4 decimals 1/3") << 1.0 / 3 << 4 << "0.3333";
    QTest::newRow("6 decimals pad") << 1.5 << 6 << "1.500000";
    QTest::newRow("18 decimals") << 0.1 << 18 << "0.100000000000000006";
    QTest::newRow("large integral 10 decimals") << 123456789.0 << 10 << "123456789.0000000000";
}

void TestNumText::formatFixedDecimals()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatFixed(value, decimals)), text);
}

void TestNumText::formatSettingsValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("12.35") << 12.35 << "12.35";
    QTest::newRow("0.5") << 0.5 << "0.5";
    QTest::newRow("100") << 100.0 << "100";
    QTest::newRow("7") << 7.0 << "7";
    QTest::newRow("4.5") << 4.5 << "4.5";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("-0") << -0.0 << "0";
    QTest::newRow("-2.5") << -2.5 << "-2.5";
    QTest::newRow("1/3") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("2/3") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("0.0001") << 0.0001 << "0.0001";
    QTest::newRow("0.00001") << 0.00001 << "1E-5";
    QTest::newRow("-0.000012") << -0.000012 << "-1.2E-5";
    QTest::newRow("999999999999999") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1e15") << 1e15 << "1E15";
    QTest::newRow("9999999999999999 rounds up") << 9999999999999998.0 << "1E16";
    QTest::newRow("1.5e20") << 1.5e20 << "1.5E20";
    QTest::newRow("1.9e10") << 1.9e10 << "19000000000";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("max") << std::numeric_limits<double>::max() << "1.79769313486232E308";
    QTest::newRow("min subnormal") << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
}

void TestNumText::formatSettingsValue()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FormatSettingsValue(value)), text);
}

void TestNumText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value"); // stored as double

    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("blanks around") << " 1.5 " << true << 1.5;
    QTest::newRow("two blanks around") << "  2.50  " << true << 2.5;
    QTest::newRow("exp lower") << "1.5e1" << true << 15.0;
    QTest::newRow("exp upper plus") << "1.5E+1" << true << 15.0;
    QTest::newRow("plus point five") << "+.5" << true << 0.5;
    QTest::newRow("1E") << "1E" << true << 1.0;
    QTest::newRow("1E-") << "1E-" << true << 1.0;
    QTest::newRow("lone point") << "." << true << 0.0;
    QTest::newRow("signed point") << "-." << true << 0.0;
    QTest::newRow("1.5x") << "1.5x" << false << 0.0;
    QTest::newRow("lone minus") << "-" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("letters") << "two" << false << 0.0;
    QTest::newRow("tab is no blank") << "\t1" << false << 0.0;
    QTest::newRow("exponent without mantissa") << "E5" << false << 0.0;
    QTest::newRow("sign then exponent") << "-e5" << false << 0.0;
    QTest::newRow("point then exponent") << ".e5" << true << 0.0;
    QTest::newRow("inner blank") << "1 5" << false << 0.0;
    QTest::newRow("thousands sep") << "1 000.5" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("inf word") << "INF" << false << 0.0;
    QTest::newRow("-3") << "-3" << true << -3.0;
    QTest::newRow("12.35") << "12.35" << true << 12.35;
    QTest::newRow("leading zeros") << "000012.3500" << true << 12.35;
    QTest::newRow("1E-400") << "1E-400" << true << 0.0;
    QTest::newRow("1E-500") << "1E-500" << true << 0.0;
    QTest::newRow("1E0000000005") << "1E0000000005" << true << 1e5;
    QTest::newRow("1E5000 fails") << "1E5000" << false << 0.0;
    QTest::newRow("many fraction digits") << "0.1000000000000000000000000000000001" << true << 0.1;
    QTest::newRow("digits shifted by exponent") << "1234.5e-2" << true << 12.345;
    QTest::newRow("subnormal") << "4.9406564584124654E-324" << true << std::numeric_limits<double>::denorm_min();
}

void TestNumText::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    long double out = 42.0L;
    const std::string s = text.toStdString();
    QCOMPARE(ParseSettingsValue(s, out), ok);
    if (ok)
        QCOMPARE(::storeDouble(out), value);
    else
        QCOMPARE(out, 42.0L);
}

void TestNumText::parseFailureLeavesOutput()
{
    // 1E500 reads as an extended value, but overflows when stored
    long double out = 0;
    QVERIFY(ParseSettingsValue("1E500", out));
    QVERIFY(out > 1e400L);
    QVERIFY_THROWS_EXCEPTION(EOverflow, ::storeDouble(out));
    QVERIFY(ParseSettingsValue("-1E500", out));
    QVERIFY_THROWS_EXCEPTION(EOverflow, ::storeDouble(out));
    // the minus survives on a zero
    QVERIFY(ParseSettingsValue("-0", out));
    QVERIFY(std::signbit(out));
}

// Every entry is made the way a user's text reaches the program: parsed
// from its decimal text. It must be written without trailing zeros and
// read back to the same double.
static void checkRoundTrip(int count, int decimals)
{
    int scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    for (int i = 0; i <= count; ++i) {
        std::string entry = std::to_string(i / scale);
        std::string frac = std::to_string(i % scale);
        frac.insert(0, decimals - frac.size(), '0');
        entry += "." + frac;
        long double parsed = 0;
        QVERIFY(ParseSettingsValue(entry, parsed));
        const double value = ::storeDouble(parsed);

        std::string expected = entry;
        while (expected.back() == '0')
            expected.pop_back();
        if (expected.back() == '.')
            expected.pop_back();

        const std::string written = FormatSettingsValue(value);
        if (written != expected)
            QFAIL(qPrintable(QString("%1 written as %2").arg(entry.c_str(), written.c_str())));
        long double back = 0;
        QVERIFY(ParseSettingsValue(written, back));
        if (::storeDouble(back) != value)
            QFAIL(qPrintable(QString("%1 read back differently").arg(written.c_str())));
    }
}

void TestNumText::roundTripHundredths() { checkRoundTrip(10000, 2); }

void TestNumText::roundTripTenths() { checkRoundTrip(10000, 1); }

void TestNumText::storeDouble()
{
    QCOMPARE(::storeDouble(1.5L), 1.5);
    QCOMPARE(::storeDouble(static_cast<long double>(std::numeric_limits<double>::max())),
             std::numeric_limits<double>::max());
    // just above DBL_MAX, still rounding down to it
    const long double nearMax = std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 971);
    QCOMPARE(::storeDouble(nearMax), std::numeric_limits<double>::max());
    QVERIFY_THROWS_EXCEPTION(EOverflow, ::storeDouble(std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 970)));
    QVERIFY_THROWS_EXCEPTION(EOverflow, ::storeDouble(-1e400L));
    QVERIFY_THROWS_EXCEPTION(EOverflow, ::storeDouble(std::numeric_limits<long double>::infinity()));
    QVERIFY_THROWS_EXCEPTION(EInvalidOp, ::storeDouble(std::numeric_limits<long double>::quiet_NaN()));
    QCOMPARE(::storeDouble(1e-400L), 0.0);
    QCOMPARE(::storeDouble(5e-324L), std::numeric_limits<double>::denorm_min());
    try {
        ::storeDouble(1e400L);
        QFAIL("no overflow");
    } catch (const EOverflow &e) {
        QCOMPARE(QString(e.what()), QString("Floating point overflow"));
        QCOMPARE(QString(e.ClassName()), QString("EOverflow"));
    }
    QCOMPARE(QString(EInvalidOp().what()), QString("Invalid floating point operation"));
    QCOMPARE(QString(EZeroDivide().what()), QString("Floating point division by zero"));
}

void TestNumText::truncateTowardZero_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("result");
    QTest::newRow("6.97") << 6.97 << 6.0;
    QTest::newRow("0.99") << 0.99 << 0.0;
    QTest::newRow("7.0") << 7.0 << 7.0;
    QTest::newRow("-1.5") << -1.5 << -1.0;
    QTest::newRow("just below 3") << std::nextafter(3.0, 0.0) << 2.0;
    QTest::newRow("2^60+") << 1152921504606846976.0 << 1152921504606846976.0;
    QTest::newRow("1e300") << 1e300 << 1e300;
}

void TestNumText::truncateTowardZero()
{
    QFETCH(double, value);
    QFETCH(double, result);
    QCOMPARE(TruncateTowardZero(value), result);
}

void TestNumText::fillTemplate()
{
    QCOMPARE(QString::fromStdString(::fillTemplate("dPкл = %.2f атм", "0.80")), QString::fromUtf8("dPкл = 0.80 атм"));
    QCOMPARE(QString::fromStdString(::fillTemplate("%.2f", "-0.40")), QString("-0.40"));
    QCOMPARE(QString::fromStdString(::fillTemplate("no directive", "1.00")), QString("no directive"));
}

void TestNumText::processSeparator()
{
    QCOMPARE(decimalSeparator(), '.');
    setDecimalSeparator(',');
    const std::string fixed = FormatTwoDecimals(2.5);
    const std::string general = FormatSettingsValue(0.5);
    long double comma = 0, point = 0;
    const bool commaOk = ParseSettingsValue("1,5", comma);
    const bool pointOk = ParseSettingsValue("1.5", point);
    setDecimalSeparator('.');
    QCOMPARE(fixed, std::string("2,50"));
    QCOMPARE(general, std::string("0,5"));
    QVERIFY(commaOk);
    QCOMPARE(comma, 1.5L);
    QVERIFY(!pointOk);
}

// The texts must not follow the user's locale.
static void checkPointForms()
{
    QCOMPARE(FormatTwoDecimals(2.675), std::string("2.67"));
    QCOMPARE(FormatTwoDecimals(1234567.891), std::string("1234567.89"));
    QCOMPARE(formatFixed(-0.4, 3), std::string("-0.400"));
    QCOMPARE(FormatSettingsValue(12.35), std::string("12.35"));
    QCOMPARE(FormatSettingsValue(1.5e20), std::string("1.5E20"));
    QCOMPARE(FormatSettingsValue(1234567.5), std::string("1234567.5"));
    long double v = 0;
    QVERIFY(ParseSettingsValue("1.5", v));
    QCOMPARE(v, 1.5L);
    QVERIFY(ParseSettingsValue("2.5e-1", v));
    QCOMPARE(::storeDouble(v), 0.25);
    QVERIFY(!ParseSettingsValue("1,5", v));
    QVERIFY(!ParseSettingsValue("1 000", v));
    for (int i = 0; i <= 1000; i += 7) {
        const std::string text = std::to_string(i / 10) + "." + std::to_string(i % 10);
        QVERIFY(ParseSettingsValue(text, v));
        const double d = ::storeDouble(v);
        QVERIFY(ParseSettingsValue(FormatSettingsValue(d), v));
        QCOMPARE(::storeDouble(v), d);
    }
}

void TestNumText::cLocaleWithComma()
{
    const char *found = nullptr;
    for (const char *name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found)
        QSKIP("no locale with a comma separator is installed (scripts/install-deps.sh generates one)");
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 1.5);
    const bool hostile = std::string(buf) == "1,5";
    const std::string pointText = hostile ? "" : buf;
    checkPointForms();
    std::setlocale(LC_ALL, "C");
    QVERIFY2(hostile, pointText.c_str());
}

namespace {
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

void TestNumText::cppGlobalLocaleWithComma()
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    std::ostringstream probe;
    probe << 1234.5;
    const std::string probeText = probe.str();
    checkPointForms();
    std::locale::global(previous);
    QCOMPARE(probeText, std::string("1 234,5"));
}

QTEST_APPLESS_MAIN(TestNumText)
#include "test_numtext.moc"
