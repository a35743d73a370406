#include "core/errors.h"
#include "core/numtext.h"
#include "core/settings.h"
#include "core/sizing.h"
#include "tests/core/settingskeys.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every persisted field and the derived ones set to distinct values.
void fillState()
{
    SizingState &s = sizing();
    double v = 1.25;
    for (auto field : kFields) {
        s.*field = v;
        v += 1;
    }
    s.dPkl1 = -1;
    s.Kv1 = -2;
    s.dPklReal1 = -3;
    s.dPkl2 = -4;
    s.Kv2 = -5;
    s.dPklReal2 = -6;
    s.LastSys = 2;
}

// The twenty lines of the original keys, then the empty checks.
std::string zeroFile()
{
    std::string text = "[Main]\r\nLastSys=0\r\n[Values]\r\n";
    for (const char *key : kKeys)
        text += std::string(key) + "=0\r\n";
    return text + kEmptyChecks;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        sizing() = SizingState{};
        clearCheckInputs();
    }
    void firstStart();
    void emptyFile();
    void lastSys_data();
    void lastSys();
    void values_data();
    void values();
    void lowerCaseNames();
    void keysLoadIntoTheirFields_data();
    void keysLoadIntoTheirFields();
    void writtenForms();
    void foreignContentKept();
    void roundTrip();
    void readOnlyFile();
    void unwritablePaths_data();
    void unwritablePaths();
    void hostileFiles_data();
    void hostileFiles();
    void loadReadsFileOnce();
    void checksSection_data();
    void checksSection();
};

void TestSettings::firstStart()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    fillState();
    LoadSettings(path);
    QCOMPARE(readFileBytes(path), zeroFile());
    QCOMPARE(QString::fromStdString(readFileBytes(path)).split("\r\n", Qt::SkipEmptyParts).size(), 20 + 11);
    const SizingState &s = sizing();
    for (auto field : kFields)
        QCOMPARE(s.*field, 0.0);
    QCOMPARE(int(s.LastSys), 0);
    // derived values are left alone
    QCOMPARE(s.dPkl1, -1.0);
    QCOMPARE(s.dPklReal2, -6.0);
}

void TestSettings::emptyFile()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    writeFileBytes(path, "");
    fillState();
    LoadSettings(path);
    for (auto field : kFields)
        QCOMPARE(sizing().*field, 0.0);
    QCOMPARE(int(sizing().LastSys), 0);
    QCOMPARE(readFileBytes(path), std::string()); // a load never writes
    SaveSettings(path);
    QCOMPARE(readFileBytes(path), zeroFile());
}

void TestSettings::lastSys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("258") << "258" << 2;
    QTest::newRow("-1") << "-1" << 255;
    QTest::newRow("$2") << "$2" << 2;
    QTest::newRow("0x2") << "0x2" << 2;
    QTest::newRow("x2") << "x2" << 2;
    QTest::newRow("0X102") << "0X102" << 2;
    QTest::newRow("$FFFFFFFE") << "$FFFFFFFE" << 254;
    QTest::newRow("2.0") << "2.0" << 0;
    QTest::newRow("two") << "two" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("beyond 32 bits") << "4294967298" << 0;
    QTest::newRow("blanks") << "   1   " << 1;
}

void TestSettings::lastSys()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    writeFileBytes(path, "[Main]\nLastSys=" + text.toStdString() + "\n");
    sizing().LastSys = 77;
    LoadSettings(path);
    QCOMPARE(int(sizing().LastSys), value);
}

void TestSettings::values_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "1,5" << 0.0;
    QTest::newRow("exponent") << "1.5e1" << 15.0;
    QTest::newRow("two blanks around") << "  2.50  " << 2.5;
    QTest::newRow("-3") << "-3" << -3.0;
    QTest::newRow("1E-400") << "1E-400" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("two points") << "1.2.3" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("12.35") << "12.35" << 12.35;
}

void TestSettings::values()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    // the same text under dPr1 and Q1; the other keys are missing
    writeFileBytes(path, "[Values]\ndPr1=" + text.toStdString() + "\nQ1=" + text.toStdString() + "\n");
    fillState();
    LoadSettings(path);
    QCOMPARE(sizing().dPr1, value);
    QCOMPARE(sizing().Q1, value);
    QCOMPARE(sizing().Kvy2, 0.0); // missing: 0, the old value is not kept
}

void TestSettings::lowerCaseNames()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    writeFileBytes(path, "[main]\nlastsys=1\n[values]\nq1=3\nDPR1=0.5\n");
    LoadSettings(path);
    QCOMPARE(sizing().Q1, 3.0);
    QCOMPARE(sizing().dPr1, 0.5);
    QCOMPARE(int(sizing().LastSys), 1);
}

// Seventeen distinct values, each into the field of its key. An
// overflowing value raises: the fields before it keep their new values, it
// and the ones after it their old ones.
void TestSettings::keysLoadIntoTheirFields_data()
{
    QTest::addColumn<int>("overflowAt");
    QTest::newRow("every key") << -1;
    QTest::newRow("overflow at dPs") << 4;
    QTest::newRow("overflow at Kvy2") << 16;
}

void TestSettings::keysLoadIntoTheirFields()
{
    QFETCH(int, overflowAt);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    std::string text = "[Main]\nLastSys=1\n[Values]\n";
    for (int i = 0; i < kKeyCount; ++i)
        text += std::string(kKeys[i]) + "=" + (i == overflowAt ? std::string("1E400") : std::to_string(100 + i)) + "\n";
    writeFileBytes(path, text);
    fillState();
    const SizingState before = sizing();
    try {
        LoadSettings(path);
        QVERIFY2(overflowAt < 0, "no overflow");
    } catch (const EOverflow &e) {
        QVERIFY(overflowAt >= 0);
        QCOMPARE(QString(e.what()), QString("Floating point overflow"));
    }
    const SizingState &s = sizing();
    QCOMPARE(int(s.LastSys), 1);
    for (int i = 0; i < kKeyCount; ++i) {
        if (overflowAt < 0 || i < overflowAt)
            QVERIFY2(s.*kFields[i] == 100.0 + i, kKeys[i]);
        else
            QVERIFY2(s.*kFields[i] == before.*kFields[i], kKeys[i]);
    }
    QCOMPARE(readFileBytes(path), text);
}

void TestSettings::writtenForms()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    SizingState &s = sizing();
    s.Q1 = 12.35;
    s.Kvy1 = 1.9e10;
    s.dPr1 = 0.00001;
    s.dPn = 0.5;
    s.Kvy2 = 7;
    s.Q2 = 4.5;
    s.dPt = 1.0 / 3;
    s.LastSys = 200;
    SaveSettings(path);
    const QString text = QString::fromStdString(readFileBytes(path));
    QVERIFY(text.contains("\r\nQ1=12.35\r\n"));
    QVERIFY(text.contains("\r\nKvy1=19000000000\r\n"));
    QVERIFY(text.contains("\r\ndPr1=1E-5\r\n"));
    QVERIFY(text.contains("\r\ndPn=0.5\r\n"));
    QVERIFY(text.contains("\r\nKvy2=7\r\n"));
    QVERIFY(text.contains("\r\nQ2=4.5\r\n"));
    QVERIFY(text.contains("\r\ndPt=0.333333333333333\r\n"));
    QVERIFY(text.startsWith("[Main]\r\nLastSys=200\r\n[Values]\r\nQ1=12.35\r\n"));
}

void TestSettings::foreignContentKept()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string before = "; written by hand\n"
                               "[Window]\nLeft=10\nTop=20\n\n"
                               "[values]\n  q1 = 3  \nExtra=keep me\ndPs=\t1\n; trailing comment\n\n"
                               "[Main]\nLastSys=2\n"
                               "[Tail]\nx=\xD0\xAF\n";
    writeFileBytes(path, before);
    LoadSettings(path);
    QCOMPARE(sizing().Q1, 3.0);
    QCOMPARE(sizing().dPs, 1.0);
    sizing().Q1 = 5;
    sizing().dPs = 0.25;
    SaveSettings(path);
    std::string expected = "; written by hand\n"
                           "[Window]\nLeft=10\nTop=20\n\n"
                           "[values]\n  q1 = 5  \nExtra=keep me\ndPs=\t0.25\n";
    for (const char *key : kKeys)
        if (std::string(key) != "Q1" && std::string(key) != "dPs")
            expected += std::string(key) + "=0\n";
    expected += "; trailing comment\n\n"
                "[Main]\nLastSys=2\n"
                "[Tail]\nx=\xD0\xAF\n"
                + QByteArray(kEmptyChecks).replace("\r\n", "\n").toStdString();
    QCOMPARE(QByteArray::fromStdString(readFileBytes(path)), QByteArray::fromStdString(expected));
    // a second save changes nothing
    SaveSettings(path);
    QCOMPARE(QByteArray::fromStdString(readFileBytes(path)), QByteArray::fromStdString(expected));
}

void TestSettings::roundTrip()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    SizingState &s = sizing();
    const double values[] = {12.35, 0.1, 100,  -2.5,  1e-5,   1.9e10, 1e15, 1.5e20, 0.333333333333333,
                             7,     4.5, 0.01, 99.99, 1e-300, 1e300,  0,    2.675};
    for (int i = 0; i < 17; ++i)
        s.*kFields[i] = values[i];
    s.LastSys = 255;
    const SizingState saved = s;
    SaveSettings(path);
    // each value under its own key
    const std::string text = readFileBytes(path);
    for (int i = 0; i < kKeyCount; ++i) {
        const std::string line = "\r\n" + std::string(kKeys[i]) + "=" + FormatSettingsValue(values[i]) + "\r\n";
        QVERIFY2(text.find(line) != std::string::npos, kKeys[i]);
    }
    s = SizingState{};
    LoadSettings(path);
    for (int i = 0; i < 17; ++i)
        QCOMPARE(s.*kFields[i], saved.*kFields[i]);
    QCOMPARE(int(s.LastSys), 255);
}

void TestSettings::readOnlyFile()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string text = "[Main]\r\nLastSys=1\r\n[Values]\r\nQ1=2\r\n";
    writeFileBytes(path, text);
    QCOMPARE(::chmod(path.c_str(), 0444), 0);
    LoadSettings(path);
    QCOMPARE(sizing().Q1, 2.0);
    sizing().Q1 = 3;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            SaveSettings(path);
            QFAIL("no exception");
        } catch (const EIniFileException &e) {
            QCOMPARE(QString(e.what()), QString::fromStdString("Unable to write to " + path));
            QCOMPARE(QString(e.ClassName()), QString("EIniFileException"));
        }
        QCOMPARE(readFileBytes(path), text);
    }
}

void TestSettings::unwritablePaths_data()
{
    QTest::addColumn<bool>("throughFile");
    QTest::newRow("directory in the file's place") << false;
    QTest::newRow("path through a regular file") << true;
}

void TestSettings::unwritablePaths()
{
    QFETCH(bool, throughFile);
    QTemporaryDir dir;
    std::string path = dir.filePath("settings.ini").toStdString();
    if (throughFile) {
        writeFileBytes(path, "not a directory");
        path += "/settings.ini";
    } else {
        QVERIFY(QDir(dir.path()).mkdir("settings.ini"));
    }
    fillState();
    // no file there: the load resets and the save of the reset fails
    try {
        LoadSettings(path);
        QFAIL("no exception");
    } catch (const EIniFileException &e) {
        QCOMPARE(QString(e.what()), QString::fromStdString("Unable to write to " + path));
    }
    for (auto field : kFields)
        QCOMPARE(sizing().*field, 0.0);
    QVERIFY_THROWS_EXCEPTION(EIniFileException, SaveSettings(path));
    if (throughFile)
        QCOMPARE(readFileBytes(dir.filePath("settings.ini").toStdString()), std::string("not a directory"));
    else
        QVERIFY(QDir(dir.filePath("settings.ini")).isEmpty());
}

void TestSettings::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("q1");
    QByteArray binary;
    for (int i = 0; i < 300000; ++i)
        binary += char((i * 7919u) % 256u);
    QTest::newRow("binary") << binary << 0.0;
    QTest::newRow("binary around keys") << binary + "\n[Values]\nQ1=4\n" + binary << 4.0;
    QTest::newRow("NUL bytes") << QByteArray("[Values]\n\0\0Q1=1\nQ1=\0\n", 22) << 0.0;
    QTest::newRow("invalid UTF-8") << QByteArray("[Val\xFFues]\nQ1=1\n[Values]\n\xC3\x28=2\nQ1=5\xE2\x82\n") << 0.0;
    QTest::newRow("CR only") << QByteArray("[Main]\rLastSys=1\r[Values]\rQ1=6\r") << 6.0;
    QTest::newRow("LF only") << QByteArray("[Main]\nLastSys=1\n[Values]\nQ1=7\n") << 7.0;
    QTest::newRow("megabyte line") << QByteArray("[Values]\nQ0=" + QByteArray(1 << 20, '9') + "\nQ1=8\n") << 8.0;
    QTest::newRow("megabyte value") << QByteArray("[Values]\nQ1=0." + QByteArray(1 << 20, '0') + "1\n") << 0.0;
    QTest::newRow("value cut at 2047") << QByteArray("[Values]\nQ1=0." + QByteArray(2045, '0') + "5\n") << 0.0;
    QTest::newRow("megabyte CR-only") << QByteArray(1 << 20, '\r') + "[Values]\rQ1=9" << 9.0;
    QTest::newRow("many sections") << QByteArray("[a]\n").repeated(200000) + "[Values]\nQ1=2\n" << 2.0;
    QTest::newRow("infinities and NaN") << QByteArray("[Values]\nQ1=3\ndPr1=INF\ndPf1=-INF\ndPppr1=NAN\ndPs=inf\n"
                                                      "dPtr1=nan\ndPdr1=Infinity\n")
                                        << 3.0;
}

void TestSettings::hostileFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(double, q1);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    writeFileBytes(path, content.toStdString());
    fillState();
    LoadSettings(path);
    QCOMPARE(sizing().Q1, q1);
    // every other key is missing or unreadable: zero, not what was there
    for (int i = 1; i < kKeyCount; ++i)
        QVERIFY2(sizing().*kFields[i] == 0.0, kKeys[i]);
    // after a save the keys read back
    sizing().Q1 = 1.5;
    sizing().Kvy2 = 2.5;
    SaveSettings(path);
    sizing() = SizingState{};
    LoadSettings(path);
    QCOMPARE(sizing().Q1, 1.5);
    QCOMPARE(sizing().Kvy2, 2.5);
}

// A load opens the file once, however many keys it reads (a 30 MB file
// would otherwise be read eighteen times).
void TestSettings::loadReadsFileOnce()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    writeFileBytes(path, "[Main]\nLastSys=1\n[Values]\nQ1=2\nKvy2=3\n");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    // closes between the opens keep the kernel from merging them into one
    QVERIFY(::inotify_add_watch(watch, path.c_str(), IN_OPEN | IN_CLOSE_NOWRITE) >= 0);
    LoadSettings(path);
    int opens = 0;
    alignas(inotify_event) char buf[4096];
    for (ssize_t got; (got = ::read(watch, buf, sizeof buf)) > 0;) {
        for (const char *at = buf; at < buf + got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(at);
            opens += (event->mask & IN_OPEN) != 0;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    QCOMPARE(opens, 1);
    QCOMPARE(int(sizing().LastSys), 1);
    QCOMPARE(sizing().Q1, 2.0);
    QCOMPARE(sizing().Kvy2, 3.0);
}

// The valve check's inputs in [Checks]: each key into its input, missing
// or unreadable ones empty (z 0.5, also for a z the check would not use);
// an overflow raises after the keys before it; a load writes nothing; a
// save keeps a foreign key, and its file loads back the same inputs.
void TestSettings::checksSection_data()
{
    QTest::addColumn<QByteArray>("checks");    // the lines after [Values]
    QTest::addColumn<QList<double>>("loaded"); // the ten inputs in key order
    QTest::addColumn<int>("overflowAt");
    const QList<double> empty{0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0.5};
    QTest::newRow("no section") << QByteArray() << empty << -1;
    QTest::newRow("every key, a foreign one")
        << QByteArray("[Checks]\nHeatLoad1=1.25\nt1_1=150\nt2_1=70\nP1_1=6\nz1=0.2\nMine=x\nHeatLoad2=0.5\n"
                      "t1_2=130\nt2_2=1E-5\nP1_2=4.5\nz2=0.9\n")
        << QList<double>{1.25, 150, 70, 6, 0.2, 0.5, 130, 1e-5, 4.5, 0.9} << -1;
    QTest::newRow("z missing and 0") << QByteArray("[Checks]\nt1_1=95\nz2=0\n")
                                     << QList<double>{0, 95, 0, 0, 0.5, 0, 0, 0, 0, 0.5} << -1;
    QTest::newRow("z above 0.9, unreadable")
        << QByteArray("[checks]\nz1=0.95\nz2=abc\nP1_2=-2\n") << QList<double>{0, 0, 0, 0, 0.5, 0, 0, 0, -2, 0.5} << -1;
    QTest::newRow("overflow at t2_1") << QByteArray("[Checks]\nHeatLoad1=2\nt1_1=90\nt2_1=1E400\nP1_1=3\n")
                                      << QList<double>{2, 90, 7, 7, 7, 7, 7, 7, 7, 7} << 2;
}

void TestSettings::checksSection()
{
    QFETCH(QByteArray, checks);
    QFETCH(QList<double>, loaded);
    QFETCH(int, overflowAt);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string text = "[Main]\nLastSys=1\n[Values]\nQ1=2\nKvy2=3\n" + checks.toStdString();
    writeFileBytes(path, text);
    const auto inputs = [] {
        QList<double> got;
        for (const CheckKey &c : kCheckKeys)
            got << checkInputs(c.circuit).*c.field;
        return got;
    };
    for (const CheckKey &c : kCheckKeys)
        checkInputs(c.circuit).*c.field = 7;
    if (overflowAt >= 0)
        QVERIFY_THROWS_EXCEPTION(EOverflow, LoadSettings(path));
    else
        LoadSettings(path);
    QCOMPARE(sizing().Kvy2, 3.0);
    QCOMPARE(inputs(), loaded);
    QCOMPARE(readFileBytes(path), text);
    if (overflowAt >= 0)
        return;
    SaveSettings(path);
    QCOMPARE(readFileBytes(path).find("Mine=x") != std::string::npos, checks.contains("Mine"));
    clearCheckInputs();
    LoadSettings(path);
    QCOMPARE(inputs(), loaded);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "test_settings.moc"
