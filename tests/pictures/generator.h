#pragma once
// Running the picture generator of tools/ into a directory, and reading
// the files it writes.
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "tests/testfiles.h"

// What the generator writes, in the order it writes it.
inline const QStringList &generatedPictures()
{
    static const QStringList names = {"Img1.jpg", "Img2.jpg", "Img3.jpg"};
    return names;
}

inline const QStringList &generatedIcons()
{
    static const QStringList names = {"icon/zelton-16.png", "icon/zelton-32.png", "icon/zelton-48.png",
                                      "icon/zelton.ico"};
    return names;
}

// Runs the generator into `dir`; an empty text when it succeeded,
// otherwise what went wrong.
inline QString runGenerator(const QString &dir)
{
    QProcess gen;
    gen.setProcessChannelMode(QProcess::SeparateChannels);
    gen.start(QStringLiteral(GEN_PICTURES), {dir});
    if (!gen.waitForFinished(10000)) {
        gen.kill();
        gen.waitForFinished(1000);
        return QStringLiteral("the generator did not finish: ") + gen.errorString();
    }
    if (gen.exitStatus() != QProcess::NormalExit || gen.exitCode() != 0)
        return QStringLiteral("the generator failed (%1): %2")
            .arg(gen.exitCode())
            .arg(QString::fromLocal8Bit(gen.readAllStandardError()));
    return {};
}

// The generator's output of this test run, in a temporary directory.
struct FreshRun {
    QTemporaryDir dir;
    QString error = QStringLiteral("the generator has not run");

    void run() { error = dir.isValid() ? runGenerator(dir.path()) : QStringLiteral("no temporary directory"); }
    bool ok() const { return error.isEmpty(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }
};
