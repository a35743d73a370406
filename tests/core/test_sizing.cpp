#include "core/errors.h"
#include "core/numtext.h"
#include "core/sizing.h"

#include <QtTest>

#include <cmath>

namespace {

// Circuit 1 inputs in the order dPr, dPf, dPppr, dPs, dPtr, dPdr, dPn, Q.
void setInputs1(const QList<double> &in)
{
    SizingState &s = sizing();
    s.dPr1 = in[0];
    s.dPf1 = in[1];
    s.dPppr1 = in[2];
    s.dPs = in[3];
    s.dPtr1 = in[4];
    s.dPdr1 = in[5];
    s.dPn = in[6];
    s.Q1 = in[7];
}

// Circuit 2 inputs in the order dPr, dPf, dPppr, dPt, dPtr, dPdr, Q.
void setInputs2(const QList<double> &in)
{
    SizingState &s = sizing();
    s.dPr2 = in[0];
    s.dPf2 = in[1];
    s.dPppr2 = in[2];
    s.dPt = in[3];
    s.dPtr2 = in[4];
    s.dPdr2 = in[5];
    s.Q2 = in[6];
}

// A text that tells any two doubles apart.
QString exactText(double v) { return QString::number(v, 'g', 17); }

} // namespace

class TestSizing : public QObject
{
    Q_OBJECT
private slots:
    void init() { sizing() = SizingState{}; }
    void dependent_data();
    void dependent();
    void independent_data();
    void independent();
    void tinyNegativeDrop();
    void evaluationOrder_data();
    void evaluationOrder();
    void failedStepsKeepPreviousValues();
    void actualLoss_data();
    void actualLoss();
    void nanDropFailsCapacity();
    void overflowAtStore();
};

// Inputs: dPr, dPf, dPppr, dPs, dPtr, dPdr, dPn, Q; expected texts of the
// result lines and whether the capacity step computed.
void TestSizing::dependent_data()
{
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<QString>("drop");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<QString>("kv");
    QTest::addColumn<double>("kvy");
    QTest::addColumn<QString>("loss"); // empty: the actual-loss step reports false

    QTest::newRow("all zero") << QList<double>{0, 0, 0, 0, 0, 0, 0, 0} << "0.00" << false << "0.00" << 0.0 << "";
    QTest::newRow("two filters") << QList<double>{1, 0.1, 0, 0, 0, 0, 0, 2} << "0.80" << true << "2.24" << 2.0
                                 << "1.00";
    QTest::newRow("pump head added") << QList<double>{0.5, 0, 0, 0, 0, 0, 0.3, 1} << "0.80" << true << "1.12" << 1.0
                                     << "1.00";
    QTest::newRow("integral Kv") << QList<double>{1, 0, 0, 0, 0, 0, 0, 4} << "1.00" << true << "4.00" << 4.0 << "1.00";
    QTest::newRow("Kv below one") << QList<double>{1, 0, 0, 0, 0, 0, 0, 0.5} << "1.00" << true << "0.50" << 0.0 << "";
    QTest::newRow("every term") << QList<double>{5, 0.25, 0.1, 1.2, 0.3, 0.15, 0.5, 10} << "3.25" << true << "5.55"
                                << 5.0 << "4.00";
    QTest::newRow("negative drop") << QList<double>{0.1, 0.5, 0, 0, 0, 0, 0, 3} << "-0.90" << false << "0.00" << 0.0
                                   << "";
    // Q / sqrt(dPkl) lies just below 1 in extended precision and is stored
    // as 1: the suggestion is truncated from the stored Kv
    QTest::newRow("Kvy of the stored Kv")
        << QList<double>{0.09, 0, 0, 0, 0, 0, 0, 0.3} << "0.09" << true << "1.00" << 1.0 << "0.09";
}

void TestSizing::dependent()
{
    QFETCH(QList<double>, in);
    QFETCH(QString, drop);
    QFETCH(bool, computed);
    QFETCH(QString, kv);
    QFETCH(double, kvy);
    QFETCH(QString, loss);
    SizingState &s = sizing();
    setInputs1(in);
    computeValveDrop1();
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.dPkl1)), drop);
    QCOMPARE(computeCapacity1(), computed);
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.Kv1)), kv);
    QCOMPARE(s.Kvy1, kvy);
    s.dPklReal1 = -7;
    QCOMPARE(computeActualLoss1(), !loss.isEmpty());
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.dPklReal1)), loss.isEmpty() ? QString("-7.00") : loss);
    // the other circuit is untouched
    QCOMPARE(s.dPkl2, 0.0);
    QCOMPARE(s.Kv2, 0.0);
}

void TestSizing::independent_data()
{
    QTest::addColumn<QList<double>>("in"); // dPr, dPf, dPppr, dPt, dPtr, dPdr, Q
    QTest::addColumn<QString>("drop");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<QString>("kv");
    QTest::addColumn<double>("kvy");
    QTest::newRow("all zero") << QList<double>{0, 0, 0, 0, 0, 0, 0} << "0.00" << false << "0.00" << 0.0;
    QTest::newRow("one filter") << QList<double>{1, 0.1, 0, 0, 0, 0, 3} << "0.90" << true << "3.16" << 3.0;
    QTest::newRow("heat exchanger") << QList<double>{0.1, 0, 0, 0.5, 0, 0, 3} << "-0.40" << false << "0.00" << 0.0;
    QTest::newRow("every term") << QList<double>{4, 0.2, 0.1, 0.7, 0.3, 0.2, 12.5} << "2.50" << true << "7.91" << 7.0;
    QTest::newRow("Kvy of the stored Kv") << QList<double>{0.09, 0, 0, 0, 0, 0, 0.3} << "0.09" << true << "1.00" << 1.0;
}

void TestSizing::independent()
{
    QFETCH(QList<double>, in);
    QFETCH(QString, drop);
    QFETCH(bool, computed);
    QFETCH(QString, kv);
    QFETCH(double, kvy);
    SizingState &s = sizing();
    setInputs2(in);
    computeValveDrop2();
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.dPkl2)), drop);
    QCOMPARE(computeCapacity2(), computed);
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.Kv2)), kv);
    QCOMPARE(s.Kvy2, kvy);
    QCOMPARE(s.dPkl1, 0.0);
}

void TestSizing::tinyNegativeDrop()
{
    SizingState &s = sizing();
    s.dPr1 = 0.3;
    s.dPf1 = 0.1;
    s.dPppr1 = 0.1;
    s.Q1 = 5;
    s.Kv1 = 7.5;
    s.Kvy1 = 7;
    computeValveDrop1();
    QVERIFY(s.dPkl1 < 0);
    QVERIFY(s.dPkl1 > -3e-17 && s.dPkl1 < -2.7e-17);
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.dPkl1)), QString("0.00"));
    QVERIFY(!computeCapacity1());
    QCOMPARE(s.Kv1, 7.5);
    QCOMPARE(s.Kvy1, 7.0);
}

// Inputs of the circuit in the order of setInputs1 / setInputs2; the drop
// compared exactly (QCOMPARE on doubles would let 1e16 pass for
// 9999999999999998).
void TestSizing::evaluationOrder_data()
{
    QTest::addColumn<int>("circuit");
    QTest::addColumn<QList<double>>("in");
    QTest::addColumn<double>("drop");

    QTest::newRow("1: filter twice, then the fittings")
        << 1 << QList<double>{0.3, 0.1, 0.1, 0, 0, 0, 0, 0}
        << static_cast<double>((static_cast<long double>(0.3) - 2.0L * 0.1) - 0.1);
    // extended intermediates: 1e16 - 1 - 1 is exact, while a double
    // evaluation rounds 1e16 - 1 back to 1e16
    QTest::newRow("1: extended intermediates") << 1 << QList<double>{1e16, 0, 1, 1, 0, 0, 0, 0} << 9999999999999998.0;
    // left to right, the head last: 1e20 - 1 rounds to 1e20 even in extended
    // precision, so adding the head afterwards leaves 0 and not -1
    QTest::newRow("1: the head last") << 1 << QList<double>{1e20, 0, 0, 0, 0, 1, -1e20, 0} << 0.0;
    QTest::newRow("2: left to right") << 2 << QList<double>{1e20, 1, 0, 0, 0, 1e20, 0} << 0.0;
    QTest::newRow("2: extended intermediates") << 2 << QList<double>{1e16, 0, 0, 1, 1, 0, 0} << 9999999999999998.0;
}

void TestSizing::evaluationOrder()
{
    QFETCH(int, circuit);
    QFETCH(QList<double>, in);
    QFETCH(double, drop);
    const SizingState &s = sizing();
    if (circuit == 1) {
        setInputs1(in);
        computeValveDrop1();
        QCOMPARE(exactText(s.dPkl1), exactText(drop));
    } else {
        setInputs2(in);
        computeValveDrop2();
        QCOMPARE(exactText(s.dPkl2), exactText(drop));
    }
}

void TestSizing::failedStepsKeepPreviousValues()
{
    SizingState &s = sizing();
    s.dPr2 = 0.1;
    s.dPt = 0.5;
    s.Q2 = 3;
    s.Kv2 = 9.1;
    s.Kvy2 = 9;
    s.dPklReal2 = 0.25;
    computeValveDrop2();
    QCOMPARE(QString::fromStdString(FormatTwoDecimals(s.dPkl2)), QString("-0.40"));
    QVERIFY(!computeCapacity2());
    QCOMPARE(s.Kv2, 9.1);
    QCOMPARE(s.Kvy2, 9.0);

    s.Kvy2 = 0;
    QVERIFY(!computeActualLoss2());
    QCOMPARE(s.dPklReal2, 0.25);
}

void TestSizing::actualLoss_data()
{
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("kvy");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<double>("loss");
    QTest::newRow("Q 2, Kvy 2") << 2.0 << 2.0 << true << 1.0;
    QTest::newRow("Q 3, Kvy 2") << 3.0 << 2.0 << true << 2.25;
    QTest::newRow("Q 0") << 0.0 << 4.0 << true << 0.0;
    QTest::newRow("Kvy 0") << 3.0 << 0.0 << false << -1.0;
    QTest::newRow("Kvy negative") << 3.0 << -2.0 << false << -1.0;
    QTest::newRow("Q 1, Kvy 3: squared quotient") << 1.0 << 3.0 << true << static_cast<double>((1.0L / 3) * (1.0L / 3));
}

void TestSizing::actualLoss()
{
    QFETCH(double, q);
    QFETCH(double, kvy);
    QFETCH(bool, computed);
    QFETCH(double, loss);
    for (int circuit = 1; circuit <= 2; ++circuit) {
        SizingState &s = sizing();
        s = SizingState{};
        double &Q = circuit == 1 ? s.Q1 : s.Q2;
        double &Kvy = circuit == 1 ? s.Kvy1 : s.Kvy2;
        double &real = circuit == 1 ? s.dPklReal1 : s.dPklReal2;
        Q = q;
        Kvy = kvy;
        real = -1;
        QCOMPARE(circuit == 1 ? computeActualLoss1() : computeActualLoss2(), computed);
        QCOMPARE(real, loss);
    }
}

void TestSizing::nanDropFailsCapacity()
{
    SizingState &s = sizing();
    s.dPkl1 = std::nan("");
    s.Q1 = 1;
    s.Kv1 = 3;
    QVERIFY(!computeCapacity1());
    QCOMPARE(s.Kv1, 3.0);
    s.Kvy2 = std::nan("");
    s.dPklReal2 = 5;
    QVERIFY(!computeActualLoss2());
    QCOMPARE(s.dPklReal2, 5.0);
}

void TestSizing::overflowAtStore()
{
    // Values from the settings file can be large; a result beyond the double
    // range raises instead of storing an infinity.
    SizingState &s = sizing();
    s.dPr1 = 1.5e308;
    s.dPn = 1.5e308;
    s.dPkl1 = 4;
    QVERIFY_THROWS_EXCEPTION(EOverflow, computeValveDrop1());
    QCOMPARE(s.dPkl1, 4.0);

    s = SizingState{};
    s.dPkl2 = 1e-300;
    s.Q2 = 1e300;
    QVERIFY_THROWS_EXCEPTION(EOverflow, computeCapacity2());
    QCOMPARE(s.Kv2, 0.0);
    QCOMPARE(s.Kvy2, 0.0);

    s.Kvy1 = 1;
    s.Q1 = 1e200;
    QVERIFY_THROWS_EXCEPTION(EOverflow, computeActualLoss1());
    QCOMPARE(s.dPklReal1, 0.0);
}

QTEST_APPLESS_MAIN(TestSizing)
#include "test_sizing.moc"
