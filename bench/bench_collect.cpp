// Time to collect 10,000 results files, as the battery writes them, into one
// table: finding, reading, checking and writing the CSV file.

#include "collect/CommandLine.h"
#include "engine/Regional.h"
#include "engine/ResultsFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int fileCount = 10000;
constexpr int runs = 7;

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
    r.InfoAgeYears = 17;
    r.SibBirthOrder = 1;
    r.SibDescription[0] = QStringLiteral("брат, день: 1, месяц: 2, год: 2010");
    r.SibWithYearCount = 1;
    r.LatThumbCode = r.LatArmCode = r.LatClapCode = r.LatWinkCode = r.LatSightCode = QStringLiteral("1");
    r.LatHandScore = QString::number(n % 49 - 24);
    r.LatHandClass = QStringLiteral("0");
    r.DichTotalCoefText = QStringLiteral("-7,5");
    r.DichSeriesAgreement = QStringLiteral("расхождения нет");
    r.DichEarAdvantage = QStringLiteral("-1");
    r.DichS1EarA = n % 53;
    r.DichS1EarB = 11;
    r.DichS2EarA = 20;
    r.DichS2EarB = 4;
    r.DichS1Coef = -12.5;
    r.DichS2Coef = 100.0 / (n % 7 + 3);
    r.MathCorrectTotal = n % 17;
    r.CalcUseCount = n % 100;
    r.CalcLasmResult = r.CalcVadlResult = r.CalcParmResult = QStringLiteral("-1");
    r.ExprFormulaUse = QStringLiteral("2");
    r.RavenDurationText = QStringLiteral("0:14:09");
    r.RavenTotal = n % 16;
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    setRegional(russianSettings());
    QTemporaryDir dir;
    const QString inbox = dir.path() + QStringLiteral("/inbox");
    writeInbox(inbox);

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
        std::sort(times.begin(), times.end());
        std::sort(cpuTimes.begin(), cpuTimes.end());
        std::printf("%d results files into one table%s: median %.0f ms, best %.0f ms, worst %.0f ms; "
                    "processor time median %.0f ms (%d runs; %.1f MB table)\n",
                    fileCount, *style ? " (--excel)" : "", times[runs / 2], times.front(), times.back(),
                    cpuTimes[runs / 2], runs, tableSize / 1e6);
    }
    return 0;
}
