// The report's formats read back as a spreadsheet and a JSON parser read
// them: every field in its place, numbers with two decimals or in full,
// what the window does not show as an empty cell or null.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>

#include "core/numtext.h"
#include "core/report.h"

namespace {

// The records of RFC 4180 CSV: fields split at commas outside quotes, "" a
// quote inside them; every record ends with CRLF.
QList<QStringList> readCsv(const QString &csv, bool &crlf)
{
    QList<QStringList> records(1, QStringList(QString()));
    bool quoted = false;
    crlf = true;
    const auto at = [&csv](qsizetype i) { return i < csv.size() ? csv[i] : QChar(); };
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (quoted && c == '"' && at(i + 1) == '"')
            records.last().last() += csv[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            records.last() << QString();
        else if (!quoted && (c == '\r' || c == '\n')) {
            crlf = crlf && c == '\r' && at(++i) == '\n';
            records << QStringList(QString());
        } else
            records.last().last() += c;
    }
    records.removeLast();
    return records;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setDecimalSeparator('.'); }

    // A number in full, as the shortest text that reads back to it.
    void jsonNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("square root") << std::sqrt(5.0) << "2.23606797749979";
        QTest::newRow("one ulp above 1") << std::nextafter(1.0, 2.0) << "1.0000000000000002";
        QTest::newRow("large") << 1e300 << "1e+300";
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "null";
        QTest::newRow("infinity") << -std::numeric_limits<double>::infinity() << "null";
    }

    void jsonNumbers()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        setDecimalSeparator(',');
        const QString written = QString::fromStdString(jsonNumber(value));
        setDecimalSeparator('.');
        QCOMPARE(written, text);
        if (std::isfinite(value))
            QCOMPARE(written.toDouble(), value);
    }

    // One file of two circuits in each format, its name holding what CSV
    // and JSON must quote.
    void formats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "ТП-1.zelton";
        QTest::newRow("comma") << "a,b.zelton";
        QTest::newRow("quotes") << "\"a\".zelton";
        QTest::newRow("carriage return") << "a\rb.zelton";
        QTest::newRow("line feed, backslash, tab") << "a\n\\\t.zelton";
    }

    void formats()
    {
        QFETCH(QString, name);
        ReportFile file{name.toStdString(), {}};
        for (int circuit : {1, 2}) {
            ReportCircuit c;
            c.circuit = circuit;
            c.name = "Система " + std::to_string(circuit);
            c.inputs = {{"dPr", "dPр", "атм", 1.0 / 3}, {"Q", "Q", "м3/ч", 2}};
            c.valveDrop = 1.0 / 3;
            c.kvy = circuit == 1 ? 3.5 : 0;
            if (circuit == 1) { // the window shows ??? for the other one
                c.kv = 2 / std::sqrt(1.0 / 3);
                c.actualLoss = 0.32653061224489793;
            }
            c.resultLines = {"Кv = " + (c.kv ? FormatTwoDecimals(*c.kv) : std::string("???")) + " м3/ч"};
            c.check = evaluateValveCheck({circuit == 1 ? Scheme::Dependent : Scheme::Independent, 1.0 / 3, 0,
                                          c.valveDrop, c.kv.value_or(0), 2, c.kvy},
                                         c.checkInputs);
            file.circuits.push_back(c);
        }

        bool crlf = false;
        const QList<QStringList> csv = readCsv(QString::fromStdString(reportCsv({file})), crlf);
        QVERIFY(crlf);
        QCOMPARE(csv.size(), 3);
        const QStringList header = csv[0];
        QCOMPARE(csv[1].size(), header.size());
        QCOMPARE(csv[2].size(), header.size());
        const auto cell = [&](int row, const char *column) { return csv[row].value(header.indexOf(column)); };
        QCOMPARE(cell(1, "file"), name);
        QCOMPARE(cell(1, "dPr"), QStringLiteral("0.33"));
        QCOMPARE(cell(1, "Kv"), QStringLiteral("3.46"));
        QCOMPARE(cell(1, "Kvy"), QStringLiteral("3.50"));
        QCOMPARE(cell(1, "dPklReal"), QStringLiteral("0.33"));
        QCOMPARE(cell(1, "flow_reason"), QStringLiteral("нет расхода: тепловая нагрузка должна быть больше нуля"));
        QCOMPARE(cell(1, "row3_kind"), QStringLiteral("выбранный"));
        QCOMPARE(cell(2, "circuit"), QStringLiteral("2"));
        QCOMPARE(cell(2, "dPn"), QString()); // the independent circuit has no pump
        QCOMPARE(cell(2, "Kv"), QString());
        QCOMPARE(cell(2, "dPklReal"), QString());

        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(reportJson({file})), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject first = json["files"][0].toObject();
        QCOMPARE(first["file"].toString(), name);
        const QJsonArray circuits = first["circuits"].toArray();
        QCOMPARE(circuits.size(), 2);
        QCOMPARE(circuits[0]["inputs"]["dPr"].toDouble(), 1.0 / 3);
        QCOMPARE(circuits[0]["results"]["Kv"].toDouble(), 2 / std::sqrt(1.0 / 3));
        QCOMPARE(circuits[0]["check"]["rows"].toArray().size(), 3);
        QVERIFY(circuits[0]["check"]["flow"]["G"].isNull());
        QVERIFY(circuits[1]["results"]["Kv"].isNull());
        QVERIFY(circuits[1]["results"]["dPklReal"].isNull());

        const QString text = QString::fromStdString(reportText({file}));
        QVERIFY(text.startsWith(name + '\n'));
        QVERIFY(text.contains("dPр = 0.33 атм\n"));
        QVERIFY(text.contains("Кv = ??? м3/ч\n"));
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
