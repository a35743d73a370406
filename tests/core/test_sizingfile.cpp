// Sizing files in the core: a save over a sizing file keeps what the
// program does not know, over anything else it writes a new file; a file
// the user may not read is named with the system's reason.
#include "core/sizingfile.h"
#include "tests/ordinaryuser.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>

class TestSizingFile : public QObject
{
    Q_OBJECT

private slots:
    void saveOver_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("after"); // in the file after the save; none: a new file
        QTest::newRow("sizing file with lines of its own")
            << QByteArray("; notes\n[Main]\nLastSys=2\nowner=me\n[Values]\nQ1=7\n[Extra]\nkeep=1\n")
            << QStringList{"; notes\n[Main]\nLastSys=1\nowner=me\n[Values]\nQ1=1.5\n", "[Extra]\nkeep=1\n"};
        QTest::newRow("settings.ini in lower case")
            << QByteArray("[values]\nq1=7\n") << QStringList{"[values]\nq1=1.5\n"};
        QTest::newRow("text without a Values section") << QByteArray("[Main]\nLastSys=1\nowner=me\n") << QStringList();
        QTest::newRow("binary with a Values section") << QByteArray("[Values]\nQ1=7\n\0owner", 20) << QStringList();
        QTest::newRow("nothing") << QByteArray() << QStringList();
    }

    void saveOver()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        const std::string path = bytes(dir.filePath(QStringLiteral("a.zelton")));
        const std::string fresh = bytes(dir.filePath(QStringLiteral("fresh.zelton")));
        if (!before.isEmpty())
            writeFileBytes(path, before.toStdString());
        SizingRecord record;
        record.sizing.Q1 = 1.5;
        record.sizing.LastSys = 1;
        record.checks2.P1 = 6;
        writeSizingFile(path, record);
        writeSizingFile(fresh, record);
        const std::string saved = readFileBytes(path);
        for (const QString &part : after)
            QVERIFY2(saved.find(bytes(part)) != std::string::npos, saved.c_str());
        if (after.isEmpty())
            QCOMPARE(saved, readFileBytes(fresh));
        const SizingRecord read = readSizingFile(path, {});
        QCOMPARE(read.sizing.Q1, 1.5);
        QCOMPARE(read.checks2.P1, 6.0);
    }

    // As an ordinary user, in a child process: the file is his to see but
    // not to read.
    void unreadable()
    {
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const std::string path = bytes(dir.filePath(QStringLiteral("a.zelton")));
        writeFileBytes(path, "[Values]\nQ1=1\n");
        QVERIFY(::chmod(path.c_str(), 0) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                if (becomeOrdinaryUser())
                    readSizingFile(path, {});
            } catch (const ESizingFileError &error) {
                ::_exit(std::string(error.what()) == "Unable to read " + path + ": Permission denied" ? 0 : 1);
            }
            ::_exit(2);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_APPLESS_MAIN(TestSizingFile)
#include "test_sizingfile.moc"
