#include "support/JournalSupport.h"

#include "engine/DichoticWords.h"
#include "support/SimulatedRun.h"

#include <QFile>

namespace test {

RunRecord everyFieldSet()
{
    RunRecord r;
    r.InfoSurname = "Иванова"; r.InfoName = "Анна"; r.InfoSex = "2"; r.InfoBirthDate = "3.9.2008";
    r.InfoTestDate = "07.12.2026"; r.InfoStartTime = "9:05:00"; r.InfoSchool = "школа 5"; r.InfoGrade = "11";
    r.InfoHandedness = "-1"; r.InfoNervousDisorder = "0"; r.InfoConcussion = "1"; r.InfoHeadInjury = "-2";
    r.InfoHasSiblings = "3"; r.InfoHearingProblem = "4";
    r.InfoAgeDays = 6669; r.InfoAgeYears = 18.26; r.InfoStartMoment = 46363.378472222; r.InfoStartMonotonic = 1'234'567; r.InfoBirthYear = 2008;
    r.InfoBirthMonth = 9; r.InfoNameLength = 4; r.InfoSurnameLength = 7;
    r.SibBirthOrder = 2; r.SibWithYearCount = 3; r.SibSameMonthCount = 1; r.SibWithoutYearCount = 5;
    r.SibWindowPassed = 6;
    for (int i = 0; i < int(std::size(r.SibDescription)); ++i)
        r.SibDescription[i] = QStringLiteral("брат %1\nс переносом\tи табуляцией").arg(i + 1);
    r.LatThumbCode = "5"; r.LatArmCode = "6"; r.LatClapCode = "7"; r.LatWinkCode = "8"; r.LatSightCode = "9";
    r.LatHandScore = "0,6"; r.LatHandClass = "правша";
    r.ExprAnswer = -0.1 + 0.2 / 3; r.ExprFormulaUse = "10";
    r.DichTotalCoefText = "0,125"; r.DichSeriesAgreement = "11"; r.DichEarAdvantage = "12";
    r.DichS1EarA = 13; r.DichS1EarB = 14; r.DichS2EarA = 15; r.DichS2EarB = 16;
    r.DichS1Coef = 1.0 / 3; r.DichS2Coef = -2.0 / 7;
    r.MathCorrectTotal = 17; r.MathCorrectExpressions = 18; r.MathCorrectProblems = 19;
    r.CalcUseCount = 20; r.CalcLasmResult = "21"; r.CalcVadlResult = "22"; r.CalcParmResult = "23";
    r.CalcCorrectCount = 24;
    r.RavenStartTime = 46363.4; r.RavenStartMonotonic = 4'567'890; r.RavenDurationText = "0:01:05"; r.RavenTotal = 25; r.RavenBlock1 = 26;
    r.RavenBlock2 = 27; r.RavenBlock3 = 28; r.RavenBlock4 = 29; r.RavenBlock5 = 30;
    r.FinalFinishTime = "10:31:40"; r.FinalDuration = "1:26:40"; r.FinalMusicalInstrument = "31";
    r.FinalCareer = "врач \"скорой\" \\ помощи"; r.FinalContact = "+7 900 000-00-00"; r.FinalAlgebraMark = "4";
    r.FinalGeometryMark = "5";
    return r;
}

Journal largestJournal()
{
    Journal journal;
    SimulatedRun whole = simulatedRun(QStringLiteral("Иванова"), QStringLiteral("Анна"));
    journal.batteryVersion = QStringLiteral("9.9.9");
    journal.written = QDateTime(QDate(2026, 12, 8), QTime(12, 28, 5, 250), Qt::UTC);
    journal.writtenMonotonic = 5'123'456;
    journal.spentMilliseconds = 4'321'987;
    journal.tasksDone = 4;
    journal.record = everyFieldSet();
    journal.items = whole.log;
    journal.progress.window = QStringLiteral("TForm5");
    for (int field = 1; field <= recordingCount * fieldsPerRecording; ++field)
        journal.progress.answers << QStringLiteral("слово %1").arg(field);
    for (int recording = 1; recording <= recordingCount; ++recording)
        journal.progress.spent << recording;
    journal.progress.onScreenMilliseconds = 754'321;
    journal.progress.warningShown = true;
    journal.interruptions = {{3605, QStringLiteral("TForm4")}, {71, QStringLiteral("TForm5")}};
    return journal;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace test
