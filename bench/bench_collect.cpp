// Time to collect 10,000 results files, as the battery writes them, into one
// table: finding, reading, checking and writing the CSV file; beside it, in
// the same run, a plain Python script that reads the same files into the
// same CSV table without checking anything, as a yardstick.

#include "collect/CommandLine.h"
#include "engine/DichoticScoring.h"
#include "engine/HandednessScore.h"
#include "engine/Numbers.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

constexpr int fileCount = 10000;
constexpr int runs = 7;

// A subject's run, every derived line following from what it is made of, as
// the battery writes them.
RunRecord subject(int n)
{
    RunRecord r;
    r.InfoSurname = QStringLiteral("Испытуемая%1").arg(n);
    r.InfoName = QStringLiteral("Ольга");
    r.InfoSex = QStringLiteral("0");
    r.InfoBirthDate = QStringLiteral("3.9.2008");
    r.InfoTestDate = QStringLiteral("07.12.2026");
    r.InfoStartTime = QStringLiteral("9:05:00");
    r.InfoSchool = QStringLiteral("гимназия №2, \"Лицей\"");
    r.InfoGrade = QStringLiteral("11");
    r.InfoHandedness = r.InfoHasSiblings = QStringLiteral("1");
    r.InfoConcussion = r.InfoHeadInjury = r.InfoHearingProblem = QStringLiteral("-1");
    r.InfoAgeDays = 6000 + n % 1000;
    r.InfoAgeYears = roundHalfUp(r.InfoAgeDays / 365.0);
    r.SibBirthOrder = 1;
    r.SibDescription[0] = QStringLiteral("брат, день: 1, месяц: 2, год: 2010");
    r.SibWithYearCount = 1;
    r.LatThumbCode = r.LatArmCode = r.LatClapCode = r.LatWinkCode = r.LatSightCode = QStringLiteral("1");
    r.LatHandScore = QString::number(n % 49 - 24);
    r.LatHandClass = handClass(n % 49 - 24);
    r.DichS1EarA = n % 53;
    r.DichS1EarB = 11;
    r.DichS2EarA = 20;
    r.DichS2EarB = 4;
    r.DichS1Coef = earCoefficient(r.DichS1EarA, r.DichS1EarB);
    r.DichS2Coef = earCoefficient(r.DichS2EarA, r.DichS2EarB);
    const BothSeriesResult both = overBothSeries(r.DichS1EarA, r.DichS1EarB, r.DichS1Coef, r.DichS2EarA, r.DichS2EarB, r.DichS2Coef);
    r.DichTotalCoefText = both.totalCoefText;
    r.DichSeriesAgreement = both.seriesAgreement;
    r.DichEarAdvantage = both.earAdvantage;
    r.MathCorrectTotal = n % 17;
    r.MathCorrectExpressions = std::min(r.MathCorrectTotal, 8);
    r.MathCorrectProblems = r.MathCorrectTotal - r.MathCorrectExpressions;
    r.CalcUseCount = n % 100;
    r.CalcLasmResult = r.CalcVadlResult = r.CalcParmResult = QStringLiteral("-1");
    r.ExprFormulaUse = QStringLiteral("2");
    r.RavenDurationText = QStringLiteral("0:14:09");
    r.RavenTotal = n % 16;
    int *blocks[] = {&r.RavenBlock1, &r.RavenBlock2, &r.RavenBlock3, &r.RavenBlock4, &r.RavenBlock5};
    for (int i = 0, left = r.RavenTotal; i < 5; left -= *blocks[i++])
        *blocks[i] = std::min(left, 3);
    r.FinalFinishTime = QStringLiteral("10:31:40");
    r.FinalDuration = QStringLiteral("1:26:40");
    r.FinalMusicalInstrument = QStringLiteral("-1");
    r.FinalCareer = QStringLiteral("инженер; врач");
    r.FinalContact = QStringLiteral("olga%1@example.org").arg(n);
    r.FinalAlgebraMark = r.FinalGeometryMark = QStringLiteral("5");
    return r;
}

// The files as received: 100 folders of 100 mails each.
void writeInbox(const QString &inbox)
{
    for (int n = 0; n < fileCount; ++n) {
        const QString folder = inbox + QStringLiteral("/%1").arg(n / 100);
        if (n % 100 == 0)
            QDir().mkpath(folder);
        const RunRecord record = subject(n);
        QFile file(folder + u'/' + resultsFileName(record));
        if (!file.open(QIODevice::WriteOnly) || file.write(resultsFileContent(record)) < 0)
            qFatal("cannot write the inbox");
    }
}

// Every file under the folder, in path order, into one CSV table.
const char *const plainScript = R"(import csv, os, sys
rows = []
for folder, subfolders, names in os.walk(sys.argv[1]):
    subfolders.sort()
    for name in sorted(names):
        if name.endswith(".txt"):
            path = os.path.join(folder, name)
            with open(path, encoding="cp1251", newline="") as f:
                lines = f.read().split("\r\n")[:-1]
            rows.append([path, ""] + [v.replace(",", ".") if i in (15, 37, 44, 45) else v for i, v in enumerate(lines)])
rows.sort()
with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
    writer = csv.writer(out)
    writer.writerow(["file", "subject"] + ["line%d" % n for n in range(1, 70)])
    writer.writerows(rows)
)";

struct Times
{
    double wall; // median, ms
    double cpu;  // median processor time, ms
};

Times median(QList<double> wall, QList<double> cpu)
{
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

double childrenProcessorMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The script's times over the inbox: wall time of the whole process, and its
// processor time as the system counts it. The system's python3 first, as a
// wrapper elsewhere on the path may add its own start-up.
Times timePlainScript(const QString &inbox, const QString &table)
{
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        qFatal("python3 is needed for the yardstick");
    QList<double> wall;
    QList<double> cpu;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        const double cpuStart = childrenProcessorMs();
        QElapsedTimer timer;
        timer.start();
        process.start(python, {QStringLiteral("-c"), QString::fromUtf8(plainScript), inbox, table});
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            qFatal("the script failed: %s", process.readAllStandardError().constData());
        wall << timer.nsecsElapsed() / 1e6;
        cpu << childrenProcessorMs() - cpuStart;
    }
    return median(wall, cpu);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    setRegional(russianSettings());
    // With a folder named, the inbox is written there and left, to profile the collector on it alone.
    if (argc > 1) {
        writeInbox(QString::fromLocal8Bit(argv[1]));
        return 0;
    }
    QTemporaryDir dir;
    const QString inbox = dir.path() + QStringLiteral("/inbox");
    writeInbox(inbox);

    Times plain{};
    for (const char *style : {"", "--excel"}) {
        QList<double> times;
        QList<double> cpuTimes; // the processor time of the process: less sensitive to a busy machine
        qint64 tableSize = 0;
        for (int run = 0; run < runs; ++run) {
            QBuffer out;
            QBuffer err;
            out.open(QIODevice::WriteOnly);
            err.open(QIODevice::WriteOnly);
            QStringList arguments{QStringLiteral("cogbattery-collect"), QStringLiteral("-o"),
                                  dir.path() + QStringLiteral("/table.csv"), inbox};
            if (*style)
                arguments << QString::fromLatin1(style);
            QElapsedTimer timer;
            timer.start();
            const std::clock_t cpuStart = std::clock();
            const int status = runCollector(arguments, {out, err, false});
            times << timer.nsecsElapsed() / 1e6;
            cpuTimes << (std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
            // Standard error holds the closing summary alone.
            if (status != 0 || err.data().count('\n') != 1)
                qFatal("collection failed: %s", err.data().constData());
            tableSize = QFileInfo(dir.path() + QStringLiteral("/table.csv")).size();
        }
        const Times median = ::median(times, cpuTimes);
        if (!*style)
            plain = median;
        std::sort(times.begin(), times.end());
        std::printf("%d results files into one table%s: median %.0f ms, best %.0f ms, worst %.0f ms; "
                    "processor time median %.0f ms (%d runs; %.1f MB table)\n",
                    fileCount, *style ? " (--excel)" : "", median.wall, times.front(), times.back(), median.cpu, runs,
                    tableSize / 1e6);
    }
    const Times script = timePlainScript(inbox, dir.path() + QStringLiteral("/script.csv"));
    std::printf("the plain Python script over the same files: median %.0f ms, processor time median %.0f ms\n"
                "collector / script: %.2f of the wall time, %.2f of the processor time\n",
                script.wall, script.cpu, plain.wall / script.wall, plain.cpu / script.cpu);
    return 0;
}
