#pragma once
// Reading a PDF as a person's tools read it (poppler-utils): its text, its
// page count and size, and its page rendered as a picture.
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct ToolRun {
    bool ran = false; // started and finished in time with exit code 0
    QByteArray output;
    QString failure;
};

inline ToolRun runTool(const QString &program, const QStringList &args)
{
    ToolRun run;
    QProcess tool;
    tool.start(program, args);
    if (!tool.waitForFinished(30000)) {
        tool.kill();
        tool.waitForFinished(1000);
        run.failure = program + QStringLiteral(" did not run (install poppler-utils): ") + tool.errorString();
        return run;
    }
    run.output = tool.readAllStandardOutput();
    run.ran = tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (!run.ran)
        run.failure = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

// The text of the PDF with every run of white space made one blank, so
// that a line the sheet wrapped reads as one. `drawn`: in the order the
// page draws it, so that the wrapped cells of a table row stay apart.
inline QString pdfText(const QString &pdf, bool drawn = false)
{
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")};
    if (drawn)
        args.prepend(QStringLiteral("-raw"));
    const ToolRun run = runTool(QStringLiteral("pdftotext"), args);
    return run.ran ? QString::fromUtf8(run.output).simplified() : QString();
}

inline QString pdfInfo(const QString &pdf)
{
    const ToolRun run = runTool(QStringLiteral("pdfinfo"), {pdf});
    return run.ran ? QString::fromUtf8(run.output) : QString();
}

// The first page at `dpi` pixels to the inch.
inline QImage pdfPage(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    const ToolRun run =
        runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                             QStringLiteral("-singlefile"), pdf, stem});
    return run.ran ? QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32) : QImage();
}
