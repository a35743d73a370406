// The valve schedule of 50 sizing files, as a user makes it from the
// command line: `zelton --schedule OUT.pdf FILE.zelton…` run as a process,
// its wall time and its peak resident memory (the kernel's count of the
// child, ru_maxrss). Every file has its dependent circuit filled, every
// second one its independent circuit too, every third one the valve check
// of both: 75 rows, two table pages and 75 sheets.
#include "bench/benchstats.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kFiles = 50;
constexpr int kRuns = 5;

QByteArray sizingFile(int i)
{
    QByteArray text = "[Main]\nLastSys=0\n[Values]\n";
    text += "Q1=" + QByteArray::number(1 + i % 17) + "\ndPr1=" + QByteArray::number(1 + (i % 5) * 0.25)
            + "\ndPf1=0.1\ndPs=0.15\nKvy1=" + QByteArray::number(i % 4 == 0 ? 25 : 0) + "\n";
    if (i % 2 == 0)
        text += "Q2=" + QByteArray::number(2 + i % 11) + "\ndPr2=1.2\ndPf2=0.1\ndPt=0.2\n";
    if (i % 3 == 0)
        text += "[Checks]\nHeatLoad1=0.8\nt1_1=150\nt2_1=70\nP1_1=6\nHeatLoad2=0.4\nt1_2=130\nt2_2=70\nP1_2=4\n";
    return text;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    std::vector<QByteArray> args = {ZELTON_EXE, "--schedule", QFile::encodeName(dir.filePath("schedule.pdf"))};
    for (int i = 0; i < kFiles; ++i) {
        const QString path = dir.filePath(QStringLiteral("ТП-%1.zelton").arg(i + 1));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(sizingFile(i)) < 0)
            return 1;
        args.push_back(QFile::encodeName(path));
    }
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (!QDir::setCurrent(dir.path()))
        return 1;

    std::vector<double> ms;
    long peakKiB = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            return 1;
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "the schedule failed\n");
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        peakKiB = std::max(peakKiB, usage.ru_maxrss);
    }
    printTimings("schedule of 50 sizing files (75 valves), whole process", ms);
    std::printf("%-58s %.1f MiB (the largest of %d runs)\n", "peak resident memory of that process", peakKiB / 1024.0,
                kRuns);
    std::printf("%-58s %lld bytes\n", "the PDF", static_cast<long long>(QFile(dir.filePath("schedule.pdf")).size()));
    return 0;
}
