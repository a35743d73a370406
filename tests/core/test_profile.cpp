// The private-profile rules of INI texts (finding and setting keys, the
// integer text rule) and the INI file object on a file.
#include "core/errors.h"
#include "core/inifile.h"
#include "core/profile.h"
#include "tests/testfiles.h"

#include <QtTest>

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void set_data();
    void set();
    void batchEqualsSingleWrites();
    void integerText_data();
    void integerText();
    void iniFileObject();
};

void TestProfile::find_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("plain") << QByteArray("[Values]\r\nQ1=3\r\n") << "Values"
                           << "Q1" << true << QByteArray("3");
    QTest::newRow("letter case") << QByteArray("[values]\nq1=3\n") << "Values"
                                 << "Q1" << true << QByteArray("3");
    QTest::newRow("blanks") << QByteArray("  [ Values ]  \n \t Q1 \t=  2.50 \t\n") << "Values"
                            << "Q1" << true << QByteArray("2.50");
    QTest::newRow("empty value") << QByteArray("[S]\nK=   \n") << "S"
                                 << "K" << true << QByteArray("");
    QTest::newRow("no equals sign") << QByteArray("[S]\nK\n") << "S"
                                    << "K" << false << QByteArray();
    QTest::newRow("equals in value") << QByteArray("[S]\nK=a=b\n") << "S"
                                     << "K" << true << QByteArray("a=b");
    QTest::newRow("double quotes") << QByteArray("[S]\nK=\" 12 \"\n") << "S"
                                   << "K" << true << QByteArray(" 12 ");
    QTest::newRow("single quotes") << QByteArray("[S]\nK='7'\n") << "S"
                                   << "K" << true << QByteArray("7");
    QTest::newRow("unmatched quotes") << QByteArray("[S]\nK=\"7'\n") << "S"
                                      << "K" << true << QByteArray("\"7'");
    QTest::newRow("first key wins") << QByteArray("[S]\nK=1\nk=2\n") << "S"
                                    << "K" << true << QByteArray("1");
    QTest::newRow("first section wins") << QByteArray("[S]\nA=1\n[T]\nK=0\n[s]\nK=2\n") << "S"
                                        << "K" << false << QByteArray();
    QTest::newRow("key in other section") << QByteArray("[T]\nK=1\n[S]\nX=2\n") << "S"
                                          << "K" << false << QByteArray();
    QTest::newRow("key before any section") << QByteArray("K=1\n[S]\n") << "S"
                                            << "K" << false << QByteArray();
    QTest::newRow("comment") << QByteArray("[S]\n;K=1\n#K=2\nK=3\n") << "S"
                             << "K" << true << QByteArray("3");
    QTest::newRow("header without bracket") << QByteArray("[S]\n[T\nK=1\n") << "S"
                                            << "K" << true << QByteArray("1");
    QTest::newRow("CR only") << QByteArray("[A]\rK=1\r[S]\rK=2\r") << "S"
                             << "K" << true << QByteArray("2");
    QTest::newRow("mixed ends") << QByteArray("[A]\r\nK=1\r[S]\nJ=0\r\nK=2") << "S"
                                << "K" << true << QByteArray("2");
    QTest::newRow("no final line end") << QByteArray("[S]\nK=42") << "S"
                                       << "K" << true << QByteArray("42");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nK=5\n") << "S"
                                     << "K" << true << QByteArray("5");
    QTest::newRow("NUL in value") << QByteArray("[S]\nK=1\0002\n", 11) << "S"
                                  << "K" << true << QByteArray("1");
    QTest::newRow("NUL in name") << QByteArray("[S]\nK\000x=1\n", 10) << "S"
                                 << "K" << true << QByteArray("1");
    QTest::newRow("non-ASCII names are exact") << QByteArray("[\xD0\x90]\nK=1\n") << "\xD0\xB0"
                                               << "K" << false << QByteArray();
    QTest::newRow("cut at 2047") << QByteArray("[S]\nK=" + QByteArray(3000, '7') + "\n") << "S"
                                 << "K" << true << QByteArray(2047, '7');
    QTest::newRow("header to the last bracket") << QByteArray("[S]]\nK=1\n[S] x\nK=2\n") << "S]"
                                                << "K" << true << QByteArray("1");
    QTest::newRow("vertical tab, form feed") << QByteArray("[S]\n\vK\f=\v3\f\n") << "S"
                                             << "K" << true << QByteArray("3");
    QTest::newRow("lines before any section") << QByteArray("K=1\n[S]\nK=2\n") << ""
                                              << "K" << true << QByteArray("1");
    QTest::newRow("empty text") << QByteArray() << "S"
                                << "K" << false << QByteArray();
}

void TestProfile::find()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);
    std::string got = "untouched";
    QCOMPARE(findProfileValue(text.toStdString(), bytes(section), bytes(key), got), found);
    if (found)
        QCOMPARE(QByteArray::fromStdString(got), value);
    else
        QCOMPARE(got, std::string("untouched"));
}

void TestProfile::set_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new text") << QByteArray() << "Values"
                              << "Q1" << QByteArray("[Values]\r\nQ1=V\r\n");
    QTest::newRow("replaced in place") << QByteArray("; top\r\n[Values]\r\nQ1=3\r\nQ2=4\r\n\r\n[X]\r\na=b\r\n")
                                       << "Values"
                                       << "Q1" << QByteArray("; top\r\n[Values]\r\nQ1=V\r\nQ2=4\r\n\r\n[X]\r\na=b\r\n");
    QTest::newRow("replaced keeps spelling") << QByteArray("[values]\n  q1 = 3  \n") << "Values"
                                             << "Q1" << QByteArray("[values]\n  q1 = V  \n");
    QTest::newRow("replaced quoted") << QByteArray("[S]\nK=\"3\"\n") << "S"
                                     << "K" << QByteArray("[S]\nK=V\n");
    QTest::newRow("replaced empty") << QByteArray("[S]\nK=  \n") << "S"
                                    << "K" << QByteArray("[S]\nK=V\n");
    QTest::newRow("key without equals") << QByteArray("[S]\nK \nL=1\n") << "S"
                                        << "K" << QByteArray("[S]\nK=V \nL=1\n");
    QTest::newRow("first duplicate key") << QByteArray("[S]\nK=1\nK=2\n") << "S"
                                         << "K" << QByteArray("[S]\nK=V\nK=2\n");
    QTest::newRow("added after the last line of its section")
        << QByteArray("[S]\nA=1\n; note\n\n[T]\nB=2\n") << "S"
        << "K" << QByteArray("[S]\nA=1\n; note\nK=V\n\n[T]\nB=2\n");
    QTest::newRow("added to first duplicate section") << QByteArray("[S]\nA=1\n[T]\n[S]\nB=2\n") << "S"
                                                      << "K" << QByteArray("[S]\nA=1\nK=V\n[T]\n[S]\nB=2\n");
    QTest::newRow("added after header") << QByteArray("[S]\r\n\r\n[T]\r\n") << "S"
                                        << "K" << QByteArray("[S]\r\nK=V\r\n\r\n[T]\r\n");
    QTest::newRow("added after unterminated last line") << QByteArray("[S]\nA=1") << "S"
                                                        << "K" << QByteArray("[S]\nA=1\nK=V\n");
    QTest::newRow("added after unterminated header") << QByteArray("[S]") << "S"
                                                     << "K" << QByteArray("[S]\r\nK=V\r\n");
    QTest::newRow("section at end") << QByteArray("[T]\nB=2\n\n; end\n") << "S"
                                    << "K" << QByteArray("[T]\nB=2\n\n; end\n[S]\nK=V\n");
    QTest::newRow("section at end, no final line end") << QByteArray("[T]\rB=2") << "S"
                                                       << "K" << QByteArray("[T]\rB=2\r[S]\rK=V\r");
    QTest::newRow("lines before first section kept") << QByteArray("K=1\n") << "S"
                                                     << "K" << QByteArray("K=1\n[S]\nK=V\n");
    QTest::newRow("binary bytes kept") << QByteArray("\x01\xFF\x00[\n[S]\n", 8) << "S"
                                       << "K" << QByteArray("\x01\xFF\x00[\n[S]\nK=V\n", 13);
}

void TestProfile::set()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    std::string text = before.toStdString();
    setProfileValue(text, bytes(section), bytes(key), "V");
    QCOMPARE(QByteArray::fromStdString(text), after);
    std::string value;
    QVERIFY(findProfileValue(text, bytes(section), bytes(key), value));
    QCOMPARE(value, std::string("V"));
}

void TestProfile::batchEqualsSingleWrites()
{
    QTemporaryDir dir;
    const std::string a = bytes(dir.filePath("a.ini"));
    const std::string b = bytes(dir.filePath("b.ini"));
    const std::string start = "[Values]\nq2=1\n; c\n[Other]\nx=y\n";
    writeFileBytes(a, start);
    writeFileBytes(b, start);
    const std::vector<ProfileEntry> entries = {
        {"Main", "LastSys", "1"}, {"Values", "Q1", "2"}, {"Values", "Q2", "3"}, {"Values", "Q1", "4"}};
    for (const ProfileEntry &e : entries)
        QVERIFY(writeProfileString(e.section, e.key, e.value, a));
    QVERIFY(writeProfileStrings(entries, b));
    QCOMPARE(readFileBytes(b), readFileBytes(a));
    QCOMPARE(readFileBytes(a), std::string("[Values]\nq2=3\n; c\nQ1=4\n[Other]\nx=y\n[Main]\nLastSys=1\n"));
}

void TestProfile::integerText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("1") << "1" << true << 1;
    QTest::newRow("258") << "258" << true << 258;
    QTest::newRow("-1") << "-1" << true << -1;
    QTest::newRow("+7 after blanks") << "  +7" << true << 7;
    QTest::newRow("$2") << "$2" << true << 2;
    QTest::newRow("x2") << "x2" << true << 2;
    QTest::newRow("X1f") << "X1f" << true << 31;
    QTest::newRow("0x2") << "0x2" << true << 2;
    QTest::newRow("-0XfF") << "-0XfF" << true << -255;
    QTest::newRow("$FFFFFFFF") << "$FFFFFFFF" << true << -1;
    QTest::newRow("$80000000") << "$80000000" << true << int(0x80000000u);
    QTest::newRow("-$80000000") << "-$80000000" << true << int(0x80000000u);
    QTest::newRow("$100000000") << "$100000000" << false << 0;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("beyond max") << "2147483648" << false << 0;
    QTest::newRow("leading zeros") << "0000000000000012" << true << 12;
    QTest::newRow("2.0") << "2.0" << false << 0;
    QTest::newRow("two") << "two" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "$" << false << 0;
    QTest::newRow("0x only") << "0x" << false << 0;
    QTest::newRow("trailing blank") << "5 " << false << 0;
    QTest::newRow("hex letters in decimal") << "1f" << false << 0;
    QTest::newRow("bad hex digit") << "$1g" << false << 0;
}

void TestProfile::integerText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int got = 12345;
    QCOMPARE(TryStrToInt(bytes(text), got), ok);
    QCOMPARE(got, ok ? value : 12345);
}

void TestProfile::iniFileObject()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("settings.ini"));
    writeFileBytes(path, "[Main]\nA=0x1F\nB= 12 \nC=1E400\nD=oops\nE=\n");
    TIniFile ini(path);
    QCOMPARE(ini.FileName(), path);
    QCOMPARE(ini.ReadInteger("main", "a", 7), 31);
    QCOMPARE(ini.ReadInteger("Main", "B", 7), 12);
    QCOMPARE(ini.ReadInteger("Main", "D", 7), 7);
    QCOMPARE(ini.ReadInteger("Main", "missing", 7), 7);
    QCOMPARE(ini.ReadFloat("Main", "B", 7), 12.0);
    QCOMPARE(ini.ReadFloat("Main", "D", 7), 7.0);
    QCOMPARE(ini.ReadFloat("Main", "E", 7), 7.0);
    QVERIFY_THROWS_EXCEPTION(EOverflow, ini.ReadFloat("Main", "C", 7));
    QCOMPARE(ini.ReadString("Main", "missing", "d"), std::string("d"));

    ini.WriteInteger("Main", "I", -5);
    ini.WriteFloat("Main", "F", 0.00001);
    ini.WriteString("Other", "S", "text");
    QCOMPARE(readFileBytes(path),
             std::string("[Main]\nA=0x1F\nB= 12 \nC=1E400\nD=oops\nE=\nI=-5\nF=1E-5\n[Other]\nS=text\n"));

    // collected writes go out together at EndUpdate; an object released in
    // the middle writes nothing
    {
        TIniFile batch(path);
        batch.BeginUpdate();
        batch.WriteInteger("Main", "I", 9);
        QCOMPARE(batch.ReadInteger("Main", "I", 0), -5);
        batch.EndUpdate();
        QCOMPARE(batch.ReadInteger("Main", "I", 0), 9);
        batch.BeginUpdate();
        batch.WriteInteger("Main", "I", 10);
    }
    QCOMPARE(TIniFile(path).ReadInteger("Main", "I", 0), 9);
}

QTEST_APPLESS_MAIN(TestProfile)
#include "test_profile.moc"
