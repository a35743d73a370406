#include "core/water.h"

#include <QtTest>

#include <cmath>

namespace {

// 's' the saturation pressure, 'v' the specific volume, 'h' the specific enthalpy.
WaterProperty waterProperty(char which, double temperatureK, double pressureMPa)
{
    if (which == 's')
        return saturationPressureMPa(temperatureK);
    return which == 'v' ? specificVolumeM3PerKg(pressureMPa, temperatureK)
                        : specificEnthalpyKJPerKg(pressureMPa, temperatureK);
}

} // namespace

class TestWater : public QObject
{
    Q_OBJECT
private slots:
    void properties_data();
    void properties();
    void agreesWithIapws();
};

// The verification values of the IF97 release, to their nine digits; the
// edges of the range, where a function gives the reason and no value.
void TestWater::properties_data()
{
    QTest::addColumn<char>("which");
    QTest::addColumn<double>("temperatureK");
    QTest::addColumn<double>("pressureMPa");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("error");
    const double nan = std::nan("");
    const int below = int(WaterError::TemperatureBelowRange);
    const int above = int(WaterError::TemperatureAboveRange);
    QTest::newRow("Psat 300 K") << 's' << 300.0 << 0.0 << 0.353658941e-2 << 0;
    QTest::newRow("Psat 500 K") << 's' << 500.0 << 0.0 << 0.263889776e1 << 0;
    QTest::newRow("Psat 600 K") << 's' << 600.0 << 0.0 << 0.123443146e2 << 0;
    QTest::newRow("v 300 K 3 MPa") << 'v' << 300.0 << 3.0 << 0.100215168e-2 << 0;
    QTest::newRow("v 300 K 80 MPa") << 'v' << 300.0 << 80.0 << 0.971180894e-3 << 0;
    QTest::newRow("v 500 K 3 MPa") << 'v' << 500.0 << 3.0 << 0.120241800e-2 << 0;
    QTest::newRow("h 300 K 3 MPa") << 'h' << 300.0 << 3.0 << 0.115331273e3 << 0;
    QTest::newRow("h 300 K 80 MPa") << 'h' << 300.0 << 80.0 << 0.184142828e3 << 0;
    QTest::newRow("h 500 K 3 MPa") << 'h' << 500.0 << 3.0 << 0.975542239e3 << 0;
    QTest::newRow("Psat at 0.01 °C") << 's' << kelvinFromCelsius(0.01) << 0.0 << 611.657e-6 << 0;
    QTest::newRow("Psat at 0 °C") << 's' << kelvinFromCelsius(0) << 0.0 << 0.0 << below;
    QTest::newRow("Psat at the critical point") << 's' << 647.096 << 0.0 << 22.064 << 0;
    QTest::newRow("Psat above it") << 's' << 647.1 << 0.0 << 0.0 << above;
    QTest::newRow("Psat of NaN") << 's' << nan << 0.0 << 0.0 << below;
    QTest::newRow("h at 0.01 °C, 1 MPa") << 'h' << kelvinFromCelsius(0.01) << 1.0 << 1.01796590 << 0;
    QTest::newRow("h below 0.01 °C") << 'h' << kelvinFromCelsius(0.005) << 1.0 << 0.0 << below;
    QTest::newRow("h at 350 °C, 20 MPa") << 'h' << kelvinFromCelsius(350) << 20.0 << 1645.95105 << 0;
    QTest::newRow("h above 350 °C") << 'h' << kelvinFromCelsius(350.01) << 20.0 << 0.0 << above;
    QTest::newRow("v at 100 MPa") << 'v' << 300.0 << 100.0 << 0.964140382e-3 << 0;
    QTest::newRow("v above 100 MPa") << 'v' << 300.0 << 100.001 << 0.0 << int(WaterError::PressureAboveRange);
    QTest::newRow("v of steam") << 'v' << 500.0 << 2.6 << 0.0 << int(WaterError::PressureBelowSaturation);
    QTest::newRow("h of NaN pressure") << 'h' << 300.0 << nan << 0.0 << int(WaterError::PressureAboveRange);
}

void TestWater::properties()
{
    QFETCH(char, which);
    QFETCH(double, temperatureK);
    QFETCH(double, pressureMPa);
    QFETCH(double, expected);
    QFETCH(int, error);
    const WaterProperty got = waterProperty(which, temperatureK, pressureMPa);
    QCOMPARE(int(got.error()), error);
    QCOMPARE(got.ok(), error == int(WaterError::None));
    if (got.ok())
        QCOMPARE(QString::number(got.value(), 'e', 8), QString::number(expected, 'e', 8));
    else
        QVERIFY_THROWS_EXCEPTION(std::logic_error, got.value());
}

// The independent implementation of python3-iapws over liquid states from
// 0.01 to 200 °C, from just above saturation to 25 атм gauge.
void TestWater::agreesWithIapws()
{
    QStringList states;
    for (const double celsius :
         {0.01, 1.0, 4.0, 10.0, 25.0, 40.0, 60.0, 70.0, 95.0, 100.0, 120.0, 150.0, 175.0, 200.0}) {
        const double t = kelvinFromCelsius(celsius);
        const double psat = saturationPressureMPa(t).value();
        QList<double> pressures{psat * (1 + 1e-6)};
        for (const double gaugeAtm : {0.0, 1.0, 2.5, 6.0, 10.0, 16.0, 25.0})
            if (const double p = (gaugeAtm * 98.0665 + 101.325) / 1000; p > psat)
                pressures << p;
        for (const double p : pressures)
            states << QString::number(t, 'g', 17) + ' ' + QString::number(p, 'g', 17);
    }
    QProcess python;
    const char *script = "import sys\nfrom iapws.iapws97 import _PSat_T, _Region1\n"
                         "for t, p in (map(float, line.split()) for line in sys.stdin):\n"
                         "    print(repr(_PSat_T(t)), repr(_Region1(t, p)['v']), repr(_Region1(t, p)['h']))\n";
    python.start(QStringLiteral(ZELTON_PYTHON3), {"-c", script});
    QVERIFY2(python.waitForStarted(10000), ZELTON_PYTHON3 " does not start: scripts/install-deps.sh installs it");
    python.write((states.join('\n') + '\n').toUtf8());
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(60000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), states.size());
    QVERIFY(states.size() > 80);
    for (int i = 0; i < states.size(); ++i) {
        const QStringList state = states[i].split(' ');
        const QStringList reference = lines[i].split(' ');
        const double t = state[0].toDouble();
        const double p = state[1].toDouble();
        const double ours[] = {saturationPressureMPa(t).value(), specificVolumeM3PerKg(p, t).value(),
                               specificEnthalpyKJPerKg(p, t).value()};
        for (int k = 0; k < 3; ++k) {
            const double theirs = reference[k].toDouble();
            QVERIFY2(std::abs(ours[k] - theirs) <= 1e-9 * std::abs(theirs), qPrintable(states[i] + " " + lines[i]));
        }
    }
}

QTEST_APPLESS_MAIN(TestWater)
#include "test_water.moc"
