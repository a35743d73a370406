#include "core/errors.h"
#include "core/inifile.h"
#include "core/profile.h"
#include "tests/testfiles.h"
#include "tests/ordinaryuser.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

std::string bytes(const QString &s) { return s.toStdString(); }

QStringList dirEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `child` in a forked process that ends with _exit(child()) and waits
// for it. False if the process could not be started or waited for.
template <typename Child>
bool runInChild(Child child, int &status)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0)
        ::_exit(child());
    return ::waitpid(pid, &status, 0) == pid;
}

// Makes `dir` unwritable for this process as for an ordinary user: root
// (who writes anywhere) becomes nobody, anyone else takes the write bits off
// the directory. `dir` must be searchable for others. False if refused.
bool loseWriteAccessTo(const std::string &dir)
{
    if (::geteuid() != 0)
        return ::chmod(dir.c_str(), 0555) == 0;
    return becomeOrdinaryUser();
}

// Limits the files this process writes to 64 KiB; false if refused.
bool limitFileSize()
{
    struct rlimit lim {65536, 65536};
    return ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void set_data();
    void set();
    void batchEqualsSingleWrites();
    void integerText_data();
    void integerText();

    void readMissingOrNotAFile();
    void writeCreatesFile();
    void writeKeepsModeAndLink();
    void unchangedContentIsNotRewritten();
    void writeRefused_data();
    void writeRefused();
    void writableFileInUnwritableDirectory_data();
    void writableFileInUnwritableDirectory();
    void failedWriteMidwayLeavesOldFile();
    void crashMidwayLeavesOldFile();
    void iniFileObject();
};

void TestProfile::find_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("plain") << QByteArray("[Values]\r\nQ1=3\r\n") << "Values" << "Q1" << true << QByteArray("3");
    QTest::newRow("letter case") << QByteArray("[values]\nq1=3\n") << "Values" << "Q1" << true << QByteArray("3");
    QTest::newRow("blanks") << QByteArray("  [ Values ]  \n \t Q1 \t=  2.50 \t\n") << "Values" << "Q1" << true
                            << QByteArray("2.50");
    QTest::newRow("empty value") << QByteArray("[S]\nK=   \n") << "S" << "K" << true << QByteArray("");
    QTest::newRow("no equals sign") << QByteArray("[S]\nK\n") << "S" << "K" << true << QByteArray("");
    QTest::newRow("equals in value") << QByteArray("[S]\nK=a=b\n") << "S" << "K" << true << QByteArray("a=b");
    QTest::newRow("double quotes") << QByteArray("[S]\nK=\" 12 \"\n") << "S" << "K" << true << QByteArray(" 12 ");
    QTest::newRow("single quotes") << QByteArray("[S]\nK='7'\n") << "S" << "K" << true << QByteArray("7");
    QTest::newRow("unmatched quotes") << QByteArray("[S]\nK=\"7'\n") << "S" << "K" << true << QByteArray("\"7'");
    QTest::newRow("first key wins") << QByteArray("[S]\nK=1\nk=2\n") << "S" << "K" << true << QByteArray("1");
    QTest::newRow("first section wins") << QByteArray("[S]\nA=1\n[T]\nK=0\n[s]\nK=2\n") << "S" << "K" << false
                                        << QByteArray();
    QTest::newRow("key in other section") << QByteArray("[T]\nK=1\n[S]\nX=2\n") << "S" << "K" << false << QByteArray();
    QTest::newRow("key before any section") << QByteArray("K=1\n[S]\n") << "S" << "K" << false << QByteArray();
    QTest::newRow("comment") << QByteArray("[S]\n;K=1\n#K=2\nK=3\n") << "S" << "K" << true << QByteArray("3");
    QTest::newRow("header without bracket") << QByteArray("[S]\n[T\nK=1\n") << "S" << "K" << true << QByteArray("1");
    QTest::newRow("CR only") << QByteArray("[A]\rK=1\r[S]\rK=2\r") << "S" << "K" << true << QByteArray("2");
    QTest::newRow("mixed ends") << QByteArray("[A]\r\nK=1\r[S]\nJ=0\r\nK=2") << "S" << "K" << true << QByteArray("2");
    QTest::newRow("no final line end") << QByteArray("[S]\nK=42") << "S" << "K" << true << QByteArray("42");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nK=5\n") << "S" << "K" << true << QByteArray("5");
    QTest::newRow("NUL in value") << QByteArray("[S]\nK=1\0002\n", 11) << "S" << "K" << true << QByteArray("1\0002", 3);
    QTest::newRow("NUL in name") << QByteArray("[S]\nK\000=1\n", 9) << "S" << "K" << false << QByteArray();
    QTest::newRow("non-ASCII names are exact") << QByteArray("[\xD0\x90]\nK=1\n") << "\xD0\xB0" << "K" << false
                                               << QByteArray();
    QTest::newRow("cut at 2047") << QByteArray("[S]\nK=" + QByteArray(3000, '7') + "\n") << "S" << "K" << true
                                 << QByteArray(2047, '7');
    QTest::newRow("empty text") << QByteArray() << "S" << "K" << false << QByteArray();
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

    QTest::newRow("new text") << QByteArray() << "Values" << "Q1" << QByteArray("[Values]\r\nQ1=V\r\n");
    QTest::newRow("replaced in place")
        << QByteArray("; top\r\n[Values]\r\nQ1=3\r\nQ2=4\r\n\r\n[X]\r\na=b\r\n") << "Values" << "Q1"
        << QByteArray("; top\r\n[Values]\r\nQ1=V\r\nQ2=4\r\n\r\n[X]\r\na=b\r\n");
    QTest::newRow("replaced keeps spelling")
        << QByteArray("[values]\n  q1 = 3  \n") << "Values" << "Q1" << QByteArray("[values]\n  q1 = V  \n");
    QTest::newRow("replaced quoted") << QByteArray("[S]\nK=\"3\"\n") << "S" << "K" << QByteArray("[S]\nK=V\n");
    QTest::newRow("replaced empty") << QByteArray("[S]\nK=  \n") << "S" << "K" << QByteArray("[S]\nK=V\n");
    QTest::newRow("key without equals") << QByteArray("[S]\nK \nL=1\n") << "S" << "K" << QByteArray("[S]\nK=V \nL=1\n");
    QTest::newRow("first duplicate key")
        << QByteArray("[S]\nK=1\nK=2\n") << "S" << "K" << QByteArray("[S]\nK=V\nK=2\n");
    QTest::newRow("added after last key")
        << QByteArray("[S]\nA=1\n; note\n\n[T]\nB=2\n") << "S" << "K"
        << QByteArray("[S]\nA=1\nK=V\n; note\n\n[T]\nB=2\n");
    QTest::newRow("added to first duplicate section")
        << QByteArray("[S]\nA=1\n[T]\n[S]\nB=2\n") << "S" << "K" << QByteArray("[S]\nA=1\nK=V\n[T]\n[S]\nB=2\n");
    QTest::newRow("added after header")
        << QByteArray("[S]\r\n\r\n[T]\r\n") << "S" << "K" << QByteArray("[S]\r\nK=V\r\n\r\n[T]\r\n");
    QTest::newRow("added after unterminated last line")
        << QByteArray("[S]\nA=1") << "S" << "K" << QByteArray("[S]\nA=1\nK=V\n");
    QTest::newRow("added after unterminated header")
        << QByteArray("[S]") << "S" << "K" << QByteArray("[S]\r\nK=V\r\n");
    QTest::newRow("section at end")
        << QByteArray("[T]\nB=2\n\n; end\n") << "S" << "K" << QByteArray("[T]\nB=2\n\n; end\n[S]\nK=V\n");
    QTest::newRow("section at end, no final line end")
        << QByteArray("[T]\rB=2") << "S" << "K" << QByteArray("[T]\rB=2\r[S]\rK=V\r");
    QTest::newRow("lines before first section kept")
        << QByteArray("K=1\n") << "S" << "K" << QByteArray("K=1\n[S]\nK=V\n");
    QTest::newRow("binary bytes kept")
        << QByteArray("\x01\xFF\x00[\n[S]\n", 8) << "S" << "K" << QByteArray("\x01\xFF\x00[\n[S]\nK=V\n", 13);
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
    QCOMPARE(readFileBytes(a), std::string("[Values]\nq2=3\nQ1=4\n; c\n[Other]\nx=y\n[Main]\nLastSys=1\n"));
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

void TestProfile::readMissingOrNotAFile()
{
    QTemporaryDir dir;
    QCOMPARE(readProfileString("S", "K", "dflt", bytes(dir.filePath("none.ini"))), std::string("dflt"));
    QCOMPARE(readProfileString("S", "K", "dflt", bytes(dir.path())), std::string("dflt"));
    const std::string file = bytes(dir.filePath("f"));
    writeFileBytes(file, "x");
    QCOMPARE(readProfileString("S", "K", "", file + "/settings.ini"), std::string());
    // a FIFO neither hangs the read nor takes a write
    const std::string fifo = bytes(dir.filePath("fifo.ini"));
    QCOMPARE(::mkfifo(fifo.c_str(), 0666), 0);
    QCOMPARE(readProfileString("S", "K", "dflt", fifo), std::string("dflt"));
    QVERIFY(!writeProfileString("S", "K", "1", fifo));
}

void TestProfile::writeCreatesFile()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("new.ini"));
    const mode_t mask = ::umask(022);
    const bool ok = writeProfileString("Main", "LastSys", "0", path);
    ::umask(mask);
    QVERIFY(ok);
    QCOMPARE(readFileBytes(path), std::string("[Main]\r\nLastSys=0\r\n"));
    struct stat st {};
    QCOMPARE(::stat(path.c_str(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0644));
    QCOMPARE(dirEntries(dir.path()), QStringList{"new.ini"});
}

void TestProfile::writeKeepsModeAndLink()
{
    QTemporaryDir dir;
    const std::string real = bytes(dir.filePath("real.ini"));
    const std::string link = bytes(dir.filePath("link.ini"));
    writeFileBytes(real, "[S]\nK=1\n");
    QCOMPARE(::chmod(real.c_str(), 0640), 0);
    QCOMPARE(::symlink("real.ini", link.c_str()), 0);
    QVERIFY(writeProfileString("S", "K", "2", link));
    struct stat st {};
    QCOMPARE(::lstat(link.c_str(), &st), 0);
    QVERIFY(S_ISLNK(st.st_mode));
    QCOMPARE(::stat(real.c_str(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    QCOMPARE(readFileBytes(real), std::string("[S]\nK=2\n"));

    // a chain of links, the last naming a file not made yet: the file is
    // made where the chain ends and the links stay
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    const std::string first = bytes(dir.filePath("first.ini"));
    QCOMPARE(::symlink("sub/second.ini", first.c_str()), 0);
    QCOMPARE(::symlink("../later.ini", bytes(dir.filePath("sub/second.ini")).c_str()), 0);
    QVERIFY(writeProfileString("S", "K", "3", first));
    for (const char *name : {"first.ini", "sub/second.ini"}) {
        QCOMPARE(::lstat(bytes(dir.filePath(name)).c_str(), &st), 0);
        QVERIFY2(S_ISLNK(st.st_mode), name);
    }
    QCOMPARE(readFileBytes(bytes(dir.filePath("later.ini"))), std::string("[S]\r\nK=3\r\n"));
    // a loop of links takes nothing
    const std::string loop = bytes(dir.filePath("loop.ini"));
    QCOMPARE(::symlink("loop.ini", loop.c_str()), 0);
    QVERIFY(!writeProfileString("S", "K", "4", loop));
    QCOMPARE(::lstat(loop.c_str(), &st), 0);
    QVERIFY(S_ISLNK(st.st_mode));
}

void TestProfile::unchangedContentIsNotRewritten()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("s.ini"));
    writeFileBytes(path, "[S]\nK=1\n");
    struct stat before {}, after {};
    QCOMPARE(::stat(path.c_str(), &before), 0);
    QVERIFY(writeProfileString("s", "k", "1", path));
    QCOMPARE(::stat(path.c_str(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QVERIFY(writeProfileString("S", "K", "3", path));
    QCOMPARE(::stat(path.c_str(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino); // replaced by a new file
}

void TestProfile::writeRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only file") << "readonly";
    QTest::newRow("directory in its place") << "directory";
    QTest::newRow("path through a file") << "throughfile";
    QTest::newRow("missing directory") << "missingdir";
    QTest::newRow("bad key name") << "badname";
}

void TestProfile::writeRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    std::string path = bytes(dir.filePath("settings.ini"));
    std::string original = "[S]\r\nK=1\r\n";
    if (kind == "readonly") {
        writeFileBytes(path, original);
        QCOMPARE(::chmod(path.c_str(), 0444), 0);
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("settings.ini"));
    } else if (kind == "throughfile") {
        writeFileBytes(path, original);
        path += "/settings.ini";
    } else if (kind == "missingdir") {
        path = bytes(dir.filePath("nodir/settings.ini"));
    } else {
        writeFileBytes(path, original);
    }
    const QStringList entries = dirEntries(dir.path());
    const std::string key = kind == "badname" ? "K=" : "K";
    QVERIFY(!writeProfileString("S", key, "2", path));
    QVERIFY(!writeProfileStrings({{"S", "K", "2"}, {"T", "L", "3"}}, kind == "badname" ? std::string() : path));
    QCOMPARE(dirEntries(dir.path()), entries);
    if (kind != "directory" && kind != "missingdir")
        QCOMPARE(readFileBytes(bytes(dir.filePath("settings.ini"))), original);

    // the same refusal through the INI file object, as an error
    TIniFile ini(path);
    try {
        ini.WriteInteger("S", key, 5);
        QFAIL("no exception");
    } catch (const EIniFileException &e) {
        QCOMPARE(QString::fromStdString(e.what()), QString::fromStdString("Unable to write to " + path));
    }
    QCOMPARE(dirEntries(dir.path()), entries);
    if (kind != "directory" && kind != "missingdir")
        QCOMPARE(readFileBytes(bytes(dir.filePath("settings.ini"))), original);
}

void TestProfile::writableFileInUnwritableDirectory_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("value grows") << QByteArray("[S]\nK=1\n") << 0666 << false << true
                                 << QByteArray("[S]\nK=12345\n");
    QTest::newRow("value shrinks") << QByteArray("[S]\nK=123456789\n[T]\nx=y\n") << 0666 << false << true
                                   << QByteArray("[S]\nK=12345\n[T]\nx=y\n");
    QTest::newRow("through a symbolic link") << QByteArray("[S]\nK=1\n") << 0666 << true << true
                                             << QByteArray("[S]\nK=12345\n");
    QTest::newRow("read-only file") << QByteArray("[S]\nK=1\n") << 0444 << false << false
                                    << QByteArray("[S]\nK=1\n");
}

// A file that may be written in a directory that takes no new files (for
// an ordinary user) is written in place: the same file, so its hard links,
// owner and ACLs stay; nothing else appears in the directory.
void TestProfile::writableFileInUnwritableDirectory()
{
    QFETCH(QByteArray, before);
    QFETCH(int, mode);
    QFETCH(bool, throughLink);
    QFETCH(bool, written);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const std::string real = bytes(dir.filePath("real.ini"));
    const std::string other = bytes(dir.filePath("other.ini"));
    const std::string path = throughLink ? bytes(dir.filePath("settings.ini")) : real;
    writeFileBytes(real, before.toStdString());
    QCOMPARE(::chmod(real.c_str(), mode_t(mode)), 0);
    QCOMPARE(::link(real.c_str(), other.c_str()), 0);
    if (throughLink)
        QCOMPARE(::symlink("real.ini", path.c_str()), 0);
    QCOMPARE(::chmod(bytes(dir.path()).c_str(), 0755), 0);
    struct stat old {};
    QCOMPARE(::stat(real.c_str(), &old), 0);
    const QStringList entries = dirEntries(dir.path());

    int status = 0;
    const bool ran = runInChild([&] {
        if (!loseWriteAccessTo(bytes(dir.path())))
            return 3;
        return writeProfileString("S", "K", "12345", path) ? 1 : 0;
    }, status);
    ::chmod(bytes(dir.path()).c_str(), 0700);
    QVERIFY(ran);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), written ? 1 : 0);
    QCOMPARE(QByteArray::fromStdString(readFileBytes(real)), after);
    QCOMPARE(QByteArray::fromStdString(readFileBytes(other)), after);
    struct stat now {};
    QCOMPARE(::lstat(real.c_str(), &now), 0);
    QCOMPARE(now.st_ino, old.st_ino);
    QCOMPARE(now.st_nlink, nlink_t(2));
    QCOMPARE(now.st_uid, old.st_uid);
    QCOMPARE(now.st_mode, old.st_mode);
    QCOMPARE(dirEntries(dir.path()), entries);
}

// A write that fails in the middle (here: the file size limit, as a full
// disk would) must leave the old file whole and no temporary file behind.
void TestProfile::failedWriteMidwayLeavesOldFile()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("settings.ini"));
    const std::string original = "[S]\nK=1\n[Big]\nfill=" + std::string(200000, 'z') + "\n";
    writeFileBytes(path, original);
    int status = 0;
    QVERIFY(runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        if (!limitFileSize())
            return 3;
        const bool ok = writeProfileString("S", "K", "2", path);
        return ok ? 1 : 0;
    }, status));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(readFileBytes(path) == original);
    QCOMPARE(dirEntries(dir.path()), QStringList{"settings.ini"});
}

// A process killed in the middle of a write leaves the old file whole and
// its one temporary file behind, which the next save removes, whether it
// changes the file or not.
void TestProfile::crashMidwayLeavesOldFile()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("settings.ini"));
    const std::string original = "[S]\nK=1\n[Big]\nfill=" + std::string(200000, 'z') + "\n";
    writeFileBytes(path, original);
    const auto crashInSave = [&] {
        int status = 0;
        QVERIFY(runInChild([&] {
            std::signal(SIGXFSZ, SIG_DFL); // passing the limit kills the process
            struct rlimit core {0, 0};
            ::setrlimit(RLIMIT_CORE, &core);
            if (!limitFileSize())
                return 3;
            writeProfileString("S", "K", "2", path);
            return 4;
        }, status));
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGXFSZ);
        QVERIFY(readFileBytes(path) == original);
    };
    const QStringList afterCrash = {".settings.ini.tmp", "settings.ini"};
    crashInSave();
    crashInSave();
    QCOMPARE(dirEntries(dir.path()), afterCrash);
    QCOMPARE(readProfileString("S", "K", "", path), std::string("1"));
    QVERIFY(writeProfileString("S", "K", "1", path)); // nothing to change
    QCOMPARE(dirEntries(dir.path()), QStringList{"settings.ini"});
    QVERIFY(readFileBytes(path) == original);

    crashInSave();
    QCOMPARE(dirEntries(dir.path()), afterCrash);
    QVERIFY(writeProfileString("S", "K", "3", path));
    QCOMPARE(dirEntries(dir.path()), QStringList{"settings.ini"});
    QCOMPARE(readProfileString("S", "K", "", path), std::string("3"));
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
