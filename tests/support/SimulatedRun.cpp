#include "support/SimulatedRun.h"

#include "engine/CalculatorRules.h"
#include "engine/DichoticScoring.h"
#include "engine/Failure.h"
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

// Types a text one character at a time, each a change, a second apart.
void type(ItemLog &log, FakeMonotonicClock &clock, const QString &item, const QString &text)
{
    for (qsizetype length = 1; length <= text.size(); ++length) {
        clock.advance(second);
        log.changed(item, text.left(length));
    }
}

void personalInformation(RunRecord &r, const QString &surname, const QString &name)
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
    r.SibBirthOrder = 1;
}

void handAndEye(SimulatedRun &run, FakeMonotonicClock &clock)
{
    ItemLog &log = run.log;
    RunRecord &r = run.record;
    log.shown(task::handedness);
    const QString codes[] = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("-1"),
                             QStringLiteral("0")};
    QString *fields[] = {&r.LatThumbCode, &r.LatArmCode, &r.LatClapCode, &r.LatWinkCode, &r.LatSightCode};
    std::array<double, handQuestionCount> values{};
    for (int i = 0; i < int(handednessItems().size()); ++i) {
        const QString &id = handednessItems()[i];
        log.presented(id, QStringLiteral("Вопрос %1").arg(i + 1));
        clock.advance(3 * second);
        if (i < 5) {
            log.changed(id, codes[i]);
            *fields[i] = codes[i];
        } else {
            const int choice = i % 5; // the scale's items in display order
            values[i - 5] = handItemValue(choice);
            log.changed(id, QString::number(values[i - 5]));
        }
    }
    r.LatHandScore = handScoreText(handScore(values));
    r.LatHandClass = handClass(handScore(values));
    type(log, clock, expressionItem, formatGeneral(mathKey(r.InfoNameLength, r.InfoSurnameLength)[mathItemCount - 1]));
    r.ExprAnswer = valueOf(mathAnswer(log.item(expressionItem)->value));
    r.ExprFormulaUse = QStringLiteral("1");
}

// Each recording played twenty seconds after the last answer to the one
// before, its answers typed after it.
void listeningSeries(SimulatedRun &run, FakeMonotonicClock &clock, int series, const QList<QStringList> &typed)
{
    ItemLog &log = run.log;
    log.shown(task::dichotic);
    QStringList answers;
    for (int recording = 1; recording <= recordingCount; ++recording) {
        clock.advance(20 * second);
        log.presented(dichoticRecordingItem(series, recording));
        const QStringList own = typed.value(recording - 1);
        for (int field = 1; field <= fieldsPerRecording; ++field) {
            const QString text = own.value(field - 1);
            if (!text.isEmpty())
                type(log, clock, dichoticFieldItem(series, recording, field), text);
            answers << text;
        }
    }
    const ChannelCounts counts = seriesScore(answers);
    RunRecord &r = run.record;
    if (series == 1) {
        r.DichS1EarA = counts.channelA;
        r.DichS1EarB = counts.channelB;
        r.DichS1Coef = earCoefficient(r.DichS1EarA, r.DichS1EarB);
    } else {
        r.DichS2EarA = counts.channelB;
        r.DichS2EarB = counts.channelA;
        r.DichS2Coef = earCoefficient(r.DichS2EarA, r.DichS2EarB);
        const BothSeriesResult both =
            overBothSeries(r.DichS1EarA, r.DichS1EarB, r.DichS1Coef, r.DichS2EarA, r.DichS2EarB, r.DichS2Coef);
        r.DichSeriesAgreement = both.seriesAgreement;
        r.DichTotalCoefText = both.totalCoefText;
        r.DichEarAdvantage = both.earAdvantage;
    }
}

void mathematics(SimulatedRun &run, FakeMonotonicClock &clock)
{
    ItemLog &log = run.log;
    RunRecord &r = run.record;
    const MathAnswers key = mathKey(r.InfoNameLength, r.InfoSurnameLength);
    log.shown(task::math);
    const qint64 shown = clock.now();
    // Right: 1 to 6, 8 and 11; 7 wrong, 10 not a number when the lock comes, the rest empty.
    clock.advance(299 * second);
    type(log, clock, mathItem(5), formatGeneral(key[4]));
    for (const int problem : {1, 2, 3, 4, 6, 8, 11}) {
        clock.advance(60 * second);
        log.changed(mathItem(problem), formatGeneral(key[problem - 1]));
    }
    log.changed(mathItem(7), formatGeneral(key[6] + 1));
    log.changed(mathItem(10), QStringLiteral("пять"));
    clock.advance(shown + 3600 * second - clock.now());
    MathAnswers answers{};
    for (int problem = 1; problem < mathItemCount; ++problem) {
        log.ended(mathItem(problem), EndedOn::Timeout);
        const LoggedItem *typed = log.item(mathItem(problem));
        answers[problem - 1] = mathAnswer(typed ? typed->value : QString()).value_or(emptyAnswer);
    }
    answers[mathItemCount - 1] = r.ExprAnswer;
    const MathScore score = scoreMath(answers, r.InfoNameLength, r.InfoSurnameLength);
    r.MathCorrectTotal = score.total;
    r.MathCorrectExpressions = score.expressions;
    r.MathCorrectProblems = score.problems;
}

void calculator(SimulatedRun &run, FakeMonotonicClock &clock)
{
    run.log.shown(task::calculator);
    const struct { Operation operation; double a, b; } trials[] = {
        {Operation::Lasm, 8, 27}, {Operation::Vadl, 8, 27}, {Operation::Parm, 123, 123}, {Operation::Lasm, 100, 12}};
    for (const auto &trial : trials) {
        clock.advance(10 * second);
        const double result = *operate(trial.operation, trial.a, trial.b);
        run.log.acted(calculatorItem(trial.operation),
                      formatGeneral(trial.a) + QStringLiteral("; ") + formatGeneral(trial.b), formatGeneral(result));
        ++run.record.CalcUseCount;
    }
}

void rules(SimulatedRun &run, FakeMonotonicClock &clock)
{
    using enum Comparison;
    using enum Expression;
    run.log.shown(task::rules);
    RuleFlags flags[3];
    const auto press = [&](Operation operation, Comparison comparison, Expression expression) {
        clock.advance(2 * second);
        run.log.acted(ruleItem(operation, comparison, expression));
        flagOf(flags[int(operation)], operation, comparison, expression) = 1;
    };
    press(Operation::Lasm, Less, Difference);
    press(Operation::Lasm, Equal, Sum);
    press(Operation::Lasm, Greater, SumPlusOne);
    press(Operation::Vadl, Less, Difference);
    clock.advance(2 * second);
    run.log.acted(ruleCancelItem(Operation::Vadl));
    flags[int(Operation::Vadl)] = {};
    press(Operation::Vadl, Less, SumPlusOne);
    press(Operation::Vadl, Equal, Difference);
    press(Operation::Vadl, Greater, Sum);
    press(Operation::Parm, Less, Sum);
    press(Operation::Parm, Equal, SumPlusOne);

    RunRecord &r = run.record;
    r.CalcLasmResult = ruleVerdict(flags[0]);
    r.CalcVadlResult = ruleVerdict(flags[1]);
    r.CalcParmResult = ruleVerdict(flags[2]);
    r.CalcCorrectCount = 0;
    for (const QString *verdict : {&r.CalcLasmResult, &r.CalcVadlResult, &r.CalcParmResult})
        r.CalcCorrectCount += *verdict == u"1";
}

void matrices(SimulatedRun &run, FakeMonotonicClock &clock)
{
    run.log.shown(task::matrices);
    std::array<int, ravenItemCount> answers{};
    for (int item = 1; item <= ravenItemCount; ++item) {
        answers[item - 1] = item <= 11 ? ravenKey[item - 1] : ravenKey[item - 1] % 8 + 1;
        type(run.log, clock, matrixItem(item), QString::number(answers[item - 1]));
    }
    const RavenScore score = scoreRaven(answers);
    RunRecord &r = run.record;
    r.RavenTotal = score.total;
    r.RavenBlock1 = score.blocks[0];
    r.RavenBlock2 = score.blocks[1];
    r.RavenBlock3 = score.blocks[2];
    r.RavenBlock4 = score.blocks[3];
    r.RavenBlock5 = score.blocks[4];
    r.RavenDurationText = QStringLiteral("0:01:05");
}

} // namespace

SimulatedRun simulatedRun(const QString &surname, const QString &name)
{
    FakeMonotonicClock clock;
    SimulatedRun run;
    personalInformation(run.record, surname, name);
    handAndEye(run, clock);
    // Series 1: "свист" and "хлеб" (channel A), "крюк" and "пес" for "пёс" (channel B), one word heard wrong.
    listeningSeries(run, clock, 1,
                    {{QStringLiteral("свист"), QStringLiteral("хлеб"), QStringLiteral("крюк"), QStringLiteral("мяч")},
                     {}, {}, {}, {}, {QStringLiteral("пес")}});
    // Series 2: "рост" twice (channel A, ear B), "плеть" and "звук" (channel B, ear A).
    listeningSeries(run, clock, 2,
                    {{QStringLiteral("рост"), QStringLiteral("плеть"), QStringLiteral("рост"), QStringLiteral("звук")}});
    mathematics(run, clock);
    calculator(run, clock);
    rules(run, clock);
    matrices(run, clock);
    RunRecord &r = run.record;
    r.FinalFinishTime = QStringLiteral("10:31:40");
    r.FinalDuration = QStringLiteral("1:26:40");
    r.FinalMusicalInstrument = QStringLiteral("-1");
    r.FinalCareer = QStringLiteral("инженер");
    r.FinalAlgebraMark = r.FinalGeometryMark = QStringLiteral("4");
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
