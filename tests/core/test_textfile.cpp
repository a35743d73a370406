// INI files on disk: reading what is missing or no file, creating, keeping
// the mode and links, leaving unchanged content alone, refused writes, a
// writable file in a folder that takes no new files, and a write cut short
// or a crash in the middle leaving the old file whole.
#include "core/errors.h"
#include "core/inifile.h"
#include "core/profile.h"
#include "core/textfile.h"
#include "tests/ordinaryuser.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

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
    struct rlimit lim {
        65536, 65536
    };
    return ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
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
};

void TestTextFile::readMissingOrNotAFile()
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

void TestTextFile::writeCreatesFile()
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

void TestTextFile::writeKeepsModeAndLink()
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

void TestTextFile::unchangedContentIsNotRewritten()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("s.ini"));
    writeFileBytes(path, "[S]\nK=1\n");
    struct stat before {
    }, after{};
    QCOMPARE(::stat(path.c_str(), &before), 0);
    QVERIFY(writeProfileString("s", "k", "1", path));
    QCOMPARE(::stat(path.c_str(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QVERIFY(writeProfileString("S", "K", "3", path));
    QCOMPARE(::stat(path.c_str(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino); // replaced by a new file
}

void TestTextFile::writeRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only file") << "readonly";
    QTest::newRow("directory in its place") << "directory";
    QTest::newRow("path through a file") << "throughfile";
    QTest::newRow("missing directory") << "missingdir";
    QTest::newRow("bad key name") << "badname";
}

void TestTextFile::writeRefused()
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

void TestTextFile::writableFileInUnwritableDirectory_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("value grows") << QByteArray("[S]\nK=1\n") << 0666 << false << true << QByteArray("[S]\nK=12345\n");
    QTest::newRow("value shrinks") << QByteArray("[S]\nK=123456789\n[T]\nx=y\n") << 0666 << false << true
                                   << QByteArray("[S]\nK=12345\n[T]\nx=y\n");
    QTest::newRow("through a symbolic link")
        << QByteArray("[S]\nK=1\n") << 0666 << true << true << QByteArray("[S]\nK=12345\n");
    QTest::newRow("read-only file") << QByteArray("[S]\nK=1\n") << 0444 << false << false << QByteArray("[S]\nK=1\n");
}

// A file that may be written in a directory that takes no new files (for
// an ordinary user) is written in place: the same file, so its hard links,
// owner and ACLs stay; nothing else appears in the directory.
void TestTextFile::writableFileInUnwritableDirectory()
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
    const bool ran = runInChild(
        [&] {
            if (!loseWriteAccessTo(bytes(dir.path())))
                return 3;
            return writeProfileString("S", "K", "12345", path) ? 1 : 0;
        },
        status);
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
void TestTextFile::failedWriteMidwayLeavesOldFile()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("settings.ini"));
    const std::string original = "[S]\nK=1\n[Big]\nfill=" + std::string(200000, 'z') + "\n";
    writeFileBytes(path, original);
    int status = 0;
    QVERIFY(runInChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            if (!limitFileSize())
                return 3;
            const bool ok = writeProfileString("S", "K", "2", path);
            return ok ? 1 : 0;
        },
        status));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(readFileBytes(path) == original);
    QCOMPARE(dirEntries(dir.path()), QStringList{"settings.ini"});
}

// A process killed in the middle of a write leaves the old file whole and
// its one temporary file behind, which the next save removes, whether it
// changes the file or not.
void TestTextFile::crashMidwayLeavesOldFile()
{
    QTemporaryDir dir;
    const std::string path = bytes(dir.filePath("settings.ini"));
    const std::string original = "[S]\nK=1\n[Big]\nfill=" + std::string(200000, 'z') + "\n";
    writeFileBytes(path, original);
    const auto crashInSave = [&] {
        int status = 0;
        QVERIFY(runInChild(
            [&] {
                std::signal(SIGXFSZ, SIG_DFL); // passing the limit kills the process
                struct rlimit core {
                    0, 0
                };
                ::setrlimit(RLIMIT_CORE, &core);
                if (!limitFileSize())
                    return 3;
                writeProfileString("S", "K", "2", path);
                return 4;
            },
            status));
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

QTEST_APPLESS_MAIN(TestTextFile)
#include "test_textfile.moc"
