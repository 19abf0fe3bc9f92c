#include "support/SimulatedRun.h"

#include "engine/DichoticWords.h"
#include "engine/HandednessScore.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"
#include "engine/MonotonicClock.h"
#include "engine/Numbers.h"
#include "engine/OutputFile.h"
#include "engine/RavenKey.h"
#include "engine/ResultsFile.h"

#include <QDir>

namespace test {

FakeMonotonicClock::FakeMonotonicClock()
    : current(std::make_shared<qint64>(0))
{
    setMonotonicClock([time = current] { return *time; });
}

FakeMonotonicClock::~FakeMonotonicClock()
{
    setMonotonicClock({});
}

namespace {

constexpr qint64 second = 1000;

// Types a text one character at a time, a second apart, and leaves the field.
void type(ItemLog &log, FakeMonotonicClock &clock, const QString &item, const QString &text)
{
    for (qsizetype length = 1; length <= text.size(); ++length) {
        clock.advance(second);
        log.edited(item, text.left(length));
    }
    log.finished(item);
}

// A choice or an answer given at once.
void answer(ItemLog &log, const QString &item, const QString &value)
{
    log.edited(item, value);
    log.finished(item);
}

// What the windows store of the subject, and the summary lines that the
// answers below give, counted by hand.
void fillRecord(RunRecord &r, const QString &surname, const QString &name)
{
    r.InfoSurname = surname;
    r.InfoName = name;
    r.InfoNameLength = int(name.size());
    r.InfoSurnameLength = int(surname.size());
    r.InfoSex = r.InfoHandedness = QStringLiteral("1");
    r.InfoBirthDate = QStringLiteral("3.9.2008");
    r.InfoTestDate = QStringLiteral("07.12.2026");
    r.InfoStartTime = QStringLiteral("9:05:00");
    r.InfoConcussion = r.InfoHeadInjury = r.InfoHasSiblings = r.InfoHearingProblem = QStringLiteral("-1");
    r.InfoAgeDays = 6669;
    r.InfoAgeYears = 18;
    r.LatThumbCode = r.LatArmCode = r.LatClapCode = r.LatWinkCode = r.LatSightCode = QStringLiteral("1");
    r.ExprFormulaUse = QStringLiteral("1");
    r.DichS1EarA = r.DichS1EarB = r.DichS2EarA = 2;
    r.DichS2EarB = 1;
    r.MathCorrectTotal = 9;
    r.MathCorrectExpressions = 5;
    r.MathCorrectProblems = 4;
    r.CalcUseCount = 4;
    r.CalcLasmResult = r.CalcVadlResult = QStringLiteral("1");
    r.CalcParmResult = QStringLiteral("-1");
    r.CalcCorrectCount = 2;
    r.RavenTotal = 11;
    r.RavenBlock1 = r.RavenBlock2 = r.RavenBlock3 = 3;
    r.RavenBlock4 = 2;
    r.RavenDurationText = QStringLiteral("0:01:05");
    r.FinalFinishTime = QStringLiteral("10:31:40");
    r.FinalDuration = QStringLiteral("1:26:40");
    r.FinalMusicalInstrument = QStringLiteral("-1");
    r.FinalAlgebraMark = r.FinalGeometryMark = QStringLiteral("4");
}

// The five tests, the twelve questions three seconds apart, then the
// expression item answered right.
void handAndEye(ItemLog &log, FakeMonotonicClock &clock, const MathAnswers &key)
{
    log.windowShown(task::handedness, QStringLiteral("TForm4"));
    for (int i = 0; i < int(handednessItems().size()); ++i) {
        log.presented(handednessItems()[i], QStringLiteral("Вопрос %1").arg(i + 1));
        clock.advance(3 * second);
        log.chose(handednessItems()[i], i < 5 ? QStringLiteral("1") : QString::number(handItemValue(i % 5)));
    }
    type(log, clock, expressionItem, formatGeneral(key[mathItemCount - 1]));
}

// Each recording played twenty seconds after the last answer to the one
// before, its answers typed after it.
void listeningSeries(ItemLog &log, FakeMonotonicClock &clock, int series, const QList<QStringList> &typed)
{
    log.windowShown(task::dichotic, QStringLiteral("TForm%1").arg(series + 4));
    for (int recording = 1; recording <= recordingCount; ++recording) {
        clock.advance(20 * second);
        log.presented(dichoticRecordingItem(series, recording));
        log.event(QStringLiteral("recording-started"), dichoticRecordingItem(series, recording));
        const QStringList own = typed.value(recording - 1);
        for (int field = 1; field <= own.size(); ++field)
            type(log, clock, dichoticFieldItem(series, recording, field), own[field - 1]);
    }
}

// Right: 1 to 6, 8 and 11; 7 wrong, 10 not a number when the sheet locks at
// 60 minutes, the rest empty.
void mathematics(ItemLog &log, FakeMonotonicClock &clock, const MathAnswers &key)
{
    log.windowShown(task::math, QStringLiteral("TForm7"));
    const qint64 shown = clock.now();
    clock.advance(299 * second);
    type(log, clock, mathItem(5), formatGeneral(key[4]));
    for (const int problem : {1, 2, 3, 4, 6, 8, 11}) {
        clock.advance(60 * second);
        answer(log, mathItem(problem), formatGeneral(key[problem - 1]));
    }
    answer(log, mathItem(7), formatGeneral(key[6] + 1));
    answer(log, mathItem(10), QStringLiteral("пять"));
    clock.advance(shown + 3600 * second - clock.now());
    log.event(QStringLiteral("math-lock"));
    for (int problem = 1; problem < mathItemCount; ++problem)
        log.lock(mathItem(problem));
}

void calculator(ItemLog &log, FakeMonotonicClock &clock)
{
    log.windowShown(task::calculator, QStringLiteral("TForm8"));
    const struct {
        Operation operation;
        const char *operands;
        const char *result;
    } trials[] = {{Operation::Lasm, "8; 27", "-19"},
                  {Operation::Vadl, "8; 27", "36"},
                  {Operation::Parm, "123; 123", "247"},
                  {Operation::Lasm, "100; 12", "113"}};
    for (const auto &trial : trials) {
        clock.advance(10 * second);
        log.acted(calculatorItem(trial.operation), QLatin1String(trial.operands), QLatin1String(trial.result));
    }
}

// ЛАСМ's three rules; a wrong one of ВАДЛ cancelled, then its three; two of ПАРМ's.
void rules(ItemLog &log, FakeMonotonicClock &clock)
{
    using enum Comparison;
    using enum Expression;
    log.windowShown(task::rules, QStringLiteral("TForm9"));
    const auto press = [&](const QString &item) {
        clock.advance(2 * second);
        log.acted(item);
    };
    for (const QString &item :
         {ruleItem(Operation::Lasm, Less, Difference), ruleItem(Operation::Lasm, Equal, Sum),
          ruleItem(Operation::Lasm, Greater, SumPlusOne), ruleItem(Operation::Vadl, Less, Difference),
          ruleCancelItem(Operation::Vadl), ruleItem(Operation::Vadl, Less, SumPlusOne),
          ruleItem(Operation::Vadl, Equal, Difference), ruleItem(Operation::Vadl, Greater, Sum),
          ruleItem(Operation::Parm, Less, Sum), ruleItem(Operation::Parm, Equal, SumPlusOne)})
        press(item);
}

// Items 1 to 11 right, 12 to 15 wrong.
void matrices(ItemLog &log, FakeMonotonicClock &clock)
{
    log.windowShown(task::matrices, QStringLiteral("TForm12"));
    for (int item = 1; item <= ravenItemCount; ++item)
        type(log, clock, matrixItem(item), QString::number(item <= 11 ? ravenKey[item - 1] : ravenKey[item - 1] % 8 + 1));
}

} // namespace

SimulatedRun simulatedRun(const QString &surname, const QString &name)
{
    FakeMonotonicClock clock;
    SimulatedRun run;
    fillRecord(run.record, surname, name);
    const MathAnswers key = mathKey(run.record.InfoNameLength, run.record.InfoSurnameLength);
    handAndEye(run.log, clock, key);
    // Series 1: "свист" and "хлеб" (channel A), "крюк" and "пес" for "пёс" (channel B), one word heard wrong.
    listeningSeries(run.log, clock, 1,
                    {{QStringLiteral("свист"), QStringLiteral("хлеб"), QStringLiteral("крюк"), QStringLiteral("мяч")},
                     {}, {}, {}, {}, {QStringLiteral("пес")}});
    // Series 2: "рост" twice (channel A, ear B), "плеть" and "звук" (channel B, ear A).
    listeningSeries(run.log, clock, 2,
                    {{QStringLiteral("рост"), QStringLiteral("плеть"), QStringLiteral("рост"), QStringLiteral("звук")}});
    mathematics(run.log, clock, key);
    calculator(run.log, clock);
    rules(run.log, clock);
    matrices(run.log, clock);
    return run;
}

QString writeSimulatedRun(const QString &folder, const SimulatedRun &run, int number)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(resultsFileName(run.record, number));
    if (writeWholeFile(path, resultsFileContent(run.record)) || writeItemFile(path, run.log, run.record))
        qFatal("cannot write the simulated run into %s", qPrintable(folder));
    return path;
}

} // namespace test
