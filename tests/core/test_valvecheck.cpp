#include "core/checktexts.h"
#include "core/numtext.h"
#include "core/valvecheck.h"

#include <QtTest>

#include <cmath>

namespace {

QString text(const std::string &s) { return QString::fromStdString(s); }
QString twoDecimals(double v) { return text(FormatTwoDecimals(v)); }

// The evaluation as lines: the flow, the cavitation limit, then one line a row.
QStringList describe(const ValveCheck &c)
{
    QStringList lines;
    lines << (c.flow.reason == CheckReason::None ? twoDecimals(c.flow.flowM3h) : text(reasonText(c.flow.reason)));
    lines << (c.cavitation.reason == CheckReason::None ? twoDecimals(c.cavitation.allowedDropAtm)
                                                       : text(reasonText(c.cavitation.reason)));
    if (c.rowsReason != CheckReason::None)
        lines << text(reasonText(c.rowsReason));
    for (const ValveRow &row : c.rows) {
        QString line = text(rowKindText(row.kind)) + ' ' + QString::number(row.kvyM3h) + ": "
                       + twoDecimals(row.actualLossAtm) + "; " + text(authorityLine(row));
        if (row.designPoint.reason == CheckReason::None)
            line += "; " + text(cavitationVerdictText(row.designPoint.verdict)) + " / "
                    + text(cavitationVerdictText(row.closing.verdict));
        lines << line;
    }
    return lines;
}

} // namespace

class TestValveCheck : public QObject
{
    Q_OBJECT
private slots:
    void seriesPick_data();
    void seriesPick();
    void authority_data();
    void authority();
    void cavitation_data();
    void cavitation();
    void evaluation_data();
    void evaluation();
    void workedCase();
};

void TestValveCheck::seriesPick_data()
{
    QTest::addColumn<double>("kv");
    QTest::addColumn<double>("below"); // -1: none
    QTest::addColumn<double>("above");
    QTest::newRow("between") << 2.24 << 1.6 << 2.5;
    QTest::newRow("just above a value") << 15.06 << 10.0 << 16.0;
    QTest::newRow("exact") << 6.3 << 6.3 << 6.3;
    QTest::newRow("exact smallest") << 0.1 << 0.1 << 0.1;
    QTest::newRow("below the smallest") << 0.05 << -1.0 << 0.1;
    QTest::newRow("zero") << 0.0 << -1.0 << 0.1;
    QTest::newRow("exact largest") << 630.0 << 630.0 << 630.0;
    QTest::newRow("above the largest") << 700.0 << 630.0 << -1.0;
}

void TestValveCheck::seriesPick()
{
    QFETCH(double, kv);
    QFETCH(double, below);
    QFETCH(double, above);
    const SeriesPick pick = pickKvySeries(kv);
    QCOMPARE(pick.below.value_or(-1), below);
    QCOMPARE(pick.above.value_or(-1), above);
    QCOMPARE(isKvySeriesValue(kv), below == above);
}

void TestValveCheck::authority_data()
{
    QTest::addColumn<double>("loss");
    QTest::addColumn<double>("available");
    QTest::addColumn<int>("verdict");
    QTest::newRow("0.5 exactly") << 0.25 << 0.5 << int(AuthorityVerdict::Good);
    QTest::newRow("just below 0.5") << std::nextafter(0.25, 0.0) << 0.5 << int(AuthorityVerdict::Acceptable);
    QTest::newRow("0.3 exactly") << 0.15 << 0.5 << int(AuthorityVerdict::Acceptable);
    QTest::newRow("just below 0.3") << std::nextafter(0.15, 0.0) << 0.5 << int(AuthorityVerdict::Low);
    QTest::newRow("zero") << 0.0 << 1.0 << int(AuthorityVerdict::Low);
}

void TestValveCheck::authority()
{
    QFETCH(double, loss);
    QFETCH(double, available);
    QFETCH(int, verdict);
    QCOMPARE(int(authorityVerdict(valveAuthority(loss, available))), verdict);
}

// ΔPкав = z (P1 + 101.325 kPa - Psat); a drop up to it does not cavitate.
void TestValveCheck::cavitation_data()
{
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("psatKPa");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("allowed");
    QTest::addColumn<int>("dropStep"); // the drop: one step below, at, one step above the allowed
    QTest::addColumn<int>("verdict");
    const int none = int(CavitationVerdict::NoCavitation);
    const int danger = int(CavitationVerdict::Danger);
    QTest::newRow("below the allowed") << 6.0 << 101.325 << 0.5 << 3.0 << -1 << none;
    QTest::newRow("at the allowed") << 6.0 << 101.325 << 0.5 << 3.0 << 0 << none;
    QTest::newRow("above the allowed") << 6.0 << 101.325 << 0.5 << 3.0 << 1 << danger;
    QTest::newRow("z 0.2") << 6.0 << 101.325 << 0.2 << 1.2 << 1 << danger;
    QTest::newRow("z 0.9") << 6.0 << 101.325 << 0.9 << 5.4 << 0 << none;
}

void TestValveCheck::cavitation()
{
    QFETCH(double, p1);
    QFETCH(double, psatKPa);
    QFETCH(double, z);
    QFETCH(double, allowed);
    QFETCH(int, dropStep);
    QFETCH(int, verdict);
    const double got = allowedCavitationDropAtm(p1, psatKPa, z);
    QCOMPARE(got, allowed);
    const double drop = dropStep == 0 ? got : std::nextafter(got, dropStep * 1e9);
    QCOMPARE(int(cavitationVerdict(drop, got)), verdict);
}

// Whole evaluations: the flow, the cavitation limit and the rows, or the
// reason each is missing.
void TestValveCheck::evaluation_data()
{
    QTest::addColumn<int>("circuit");
    QTest::addColumn<QList<double>>("sizing"); // dPr, dPn, dPкл, Q, Kvy
    QTest::addColumn<QList<double>>("check");  // heat load, t1, t2, P1, z
    QTest::addColumn<QStringList>("expected");
    const QString good = "авторитет хороший", no = "нет кавитации", danger = "опасность кавитации";
    const QString small = "клапан мал: расчётный расход не будет достигнут";
    const QString noP1 = "введите давление перед клапаном P1";
    const QString noLoad = "нет расхода: тепловая нагрузка должна быть больше нуля";
    const QString noKv = "нет Kv: перепад на полностью открытом клапане dPкл должен быть больше нуля";
    const QString boils = "вода кипит перед клапаном: давление P1 не выше давления насыщения";
    const QString hot = "температура вне диапазона свойств воды: от 0.01 до 350 °C";
    const QString high = "давление вне диапазона свойств воды: не выше 100 МПа";
    const QString below10 = "ближайший меньший 10: 1.81; " + small + "; " + danger + " / ";
    const QString above16 = "ближайший больший 16: 0.71; a = ";
    const QStringList rows2{"ближайший меньший 1.6: 1.56; " + small, "ближайший больший 2.5: 0.64; a = 0.64: " + good};
    const QList<double> worked{1, 0, 0.8, 13.47, 16};
    QTest::newRow("worked case") << 1 << worked << QList<double>{1, 150, 70, 6, 0.5}
                                 << QStringList{"13.47", "1.09", below10 + no,
                                                above16 + "0.71: " + good + "; " + no + " / " + no};
    QTest::newRow("chosen Kvy, closing cavitates")
        << 1 << QList<double>{1.5, 0.5, 0.8, 13.47, 15} << QList<double>{1, 150, 70, 6, 0.5}
        << QStringList{"13.47", "1.09", below10 + danger,
                       above16 + "0.35: авторитет допустимый; " + no + " / " + danger,
                       "выбранный 15: 0.81; " + small + "; " + no + " / " + danger};
    QTest::newRow("exact, low, z out of range")
        << 1 << QList<double>{1, 0, 0.16, 1.6, 4} << QList<double>{1, 150, 70, 6, 0.95}
        << QStringList{"13.47", "1.09", "равен Kv 4: 0.16; a = 0.16: авторитет низкий; " + no + " / " + no};
    QTest::newRow("independent: valve at t2")
        << 2 << worked << QList<double>{1, 150, 70, 2, 0.5}
        << QStringList{"12.63", "1.36", below10 + no, above16 + "0.71: " + good + "; " + no + " / " + no};
    QTest::newRow("no heat load") << 1 << QList<double>{1, 0, 0.8, 2, 0} << QList<double>{0, 150, 70, 0, 0.5}
                                  << QStringList{noLoad, noP1} + rows2;
    QTest::newRow("t1 = t2") << 1 << QList<double>{1, 0, -0.1, 2, 0} << QList<double>{1, 70, 70, 0, 0.5}
                             << QStringList{
                                    "нет расхода: температура подачи t1 должна быть выше температуры обратной воды t2",
                                    noP1, noKv};
    QTest::newRow("no available drop")
        << 2 << QList<double>{0, 0, 0.64, 2, 0} << QList<double>{0, 0, 0, 0, 0.5}
        << QStringList{noLoad, noP1,
                       "равен Kv 2.5: 0.64; нет авторитета: располагаемый перепад должен быть больше нуля"};
    QTest::newRow("boiling before the valve")
        << 1 << QList<double>{1, 0, 0.8, 2, 0} << QList<double>{1, 150, 70, 3.8, 0.5}
        << QStringList{boils, boils} + rows2;
    QTest::newRow("above 350 °C") << 1 << QList<double>{1, 0, 0, 2, 0} << QList<double>{1, 351, 70, 200, 0.5}
                                  << QStringList{hot, hot, noKv};
    QTest::newRow("above 100 MPa") << 1 << QList<double>{1, 0, 0, 2, 0} << QList<double>{1, 150, 70, 1100, 0.5}
                                   << QStringList{high, high, noKv};
}

void TestValveCheck::evaluation()
{
    QFETCH(int, circuit);
    QFETCH(QList<double>, sizing);
    QFETCH(QList<double>, check);
    QFETCH(QStringList, expected);
    const Scheme scheme = circuit == 1 ? Scheme::Dependent : Scheme::Independent;
    const double kv = sizing[2] > 0 ? sizing[3] / std::sqrt(sizing[2]) : 0;
    const CircuitValues c{scheme, sizing[0], sizing[1], sizing[2], kv, sizing[3], sizing[4]};
    const ValveCheck result = evaluateValveCheck(c, {check[0], check[1], check[2], check[3], check[4]});
    QCOMPARE(describe(result), expected);
    QCOMPARE(result.chosen.has_value(), c.dPkl > 0 && c.Kvy > 0);
    if (result.chosen)
        QCOMPARE(result.chosen->kvyM3h, c.Kvy);
}

// The README's worked case, to the digits it states.
void TestValveCheck::workedCase()
{
    const FlowFromHeatLoad f = flowFromHeatLoad(Scheme::Dependent, 1, 150, 70, 6);
    const CavitationLimit limit = cavitationLimit(Scheme::Dependent, {1, 150, 70, 6, 0.5});
    const auto n = [](double v, int decimals) { return QString::number(v, 'f', decimals); };
    QCOMPARE((QStringList{n(f.pressureMPa, 6), n(f.supplyEnthalpyKJPerKg, 3), n(f.returnEnthalpyKJPerKg, 3),
                          n(f.valveVolumeM3PerKg, 8), n(f.flowM3h, 3), n(limit.saturationKPa, 3)}),
             (QStringList{"0.689724", "632.383", "293.556", "0.00109036", "13.473", "476.101"}));
    const ValveCheck c =
        evaluateValveCheck({Scheme::Dependent, 1, 0, 0.8, 13.47 / std::sqrt(0.8), 13.47, 16}, {1, 150, 70, 6, 0.5});
    QCOMPARE(text(cavitationLine(c.chosen->designPoint)),
             QString("нет кавитации: перепад 0.71 атм не больше допустимого 1.09 атм"));
    QCOMPARE(text(cavitationLine(c.rows[0].designPoint)),
             QString("опасность кавитации: перепад 1.81 атм больше допустимого 1.09 атм"));
}

QTEST_APPLESS_MAIN(TestValveCheck)
#include "test_valvecheck.moc"
