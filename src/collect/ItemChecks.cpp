#include "collect/ItemChecks.h"

#include "engine/DichoticWords.h"
#include "engine/HandednessScore.h"
#include "engine/ItemFile.h"
#include "engine/ItemIds.h"
#include "engine/ItemSidecar.h"
#include "engine/RavenKey.h"
#include "engine/ResultLines.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

constexpr int firstRowLine = 2; // the header is line 1

int lineOf(qsizetype row)
{
    return int(row) + firstRowLine;
}

// The items every whole run has a row of, by task: the hand and eye window's,
// the expression item, the words of both listening series, the fifteen
// problems and the fifteen matrices.
const QList<std::pair<QString, QString>> &itemsOfEveryRun()
{
    static const QList<std::pair<QString, QString>> items = [] {
        QList<std::pair<QString, QString>> all;
        for (const QString &id : handednessItems())
            all.append({task::handedness, id});
        all.append({task::expression, expressionItem});
        for (int series = 1; series <= 2; ++series)
            for (int recording = 1; recording <= recordingCount; ++recording)
                for (const QChar channel : {u'A', u'B'})
                    for (int position = 1; position <= fieldsPerRecording / 2; ++position)
                        all.append({task::dichotic, dichoticWordItem(series, recording, channel, position)});
        for (int problem = 1; problem <= 15; ++problem)
            all.append({task::math, mathItem(problem)});
        for (int item = 1; item <= ravenItemCount; ++item)
            all.append({task::matrices, matrixItem(item)});
        return all;
    }();
    return items;
}

// Whether a battery logs an item of this id in this task.
bool isKnownItem(const QString &task, const QString &kind, const QString &id)
{
    static const QSet<QString> fixed = [] {
        QSet<QString> all;
        for (const auto &[task, id] : itemsOfEveryRun())
            all.insert(task + u'/' + id);
        for (int series = 1; series <= 2; ++series)
            for (int recording = 1; recording <= recordingCount; ++recording)
                for (int field = 1; field <= fieldsPerRecording; ++field)
                    all.insert(task::dichotic + u'/' + dichoticFieldItem(series, recording, field));
        for (const Operation operation : {Operation::Lasm, Operation::Vadl, Operation::Parm})
            all.insert(task::calculator + u'/' + calculatorItem(operation));
        return all;
    }();
    static const QSet<QString> events{QStringLiteral("window-shown"),   QStringLiteral("window-left"),
                                      QStringLiteral("focus-lost"),     QStringLiteral("focus-regained"),
                                      QStringLiteral("recording-started"), QStringLiteral("recording-ended"),
                                      QStringLiteral("headphones-played"), QStringLiteral("message-shown"),
                                      QStringLiteral("math-lock"),      resumedEvent};
    if (kind == u"event")
        return events.contains(id);
    if (task == task::rules)
        return ruleChoiceOf(id).has_value();
    return fixed.contains(task + u'/' + id);
}

bool isResumption(const QStringList &row)
{
    return row[KindColumn] == u"event" && row[TaskColumn] == task::session && row[ItemIdColumn] == resumedEvent;
}

// A results line's value by its field.
QString summary(const QStringList &values, const char *field)
{
    return values.value(lineIndex(QLatin1String(field)));
}

Problem summaryProblem(const QString &itemPath, const QStringList &values, const QString &field, const QString &fromItems)
{
    const int line = lineIndex(field) + 1;
    return {itemPath, 0,
            QStringLiteral("%1 is %2 by the rows, %3 on line %4 of the results file: the rows are not the run's")
                .arg(field, fromItems, values.value(line - 1))
                .arg(line),
            field, values.value(line - 1)};
}

// The matrices' blocks and the hand and eye codes and score as the rows give them.
QList<Problem> recountProblems(const QString &itemPath, const QList<QStringList> &rows, const QStringList &values)
{
    QList<Problem> problems;
    std::array<int, ravenBlockCount> blocks{};
    bool matricesSeen = false;
    QHash<QString, QString> handedness; // item → response
    for (const QStringList &row : rows) {
        if (row[KindColumn] != u"item")
            continue;
        if (row[TaskColumn] == task::matrices) {
            matricesSeen = true;
            const int item = row[ItemIdColumn].mid(6).toInt();
            if (item >= 1 && item <= ravenItemCount && row[CorrectColumn] == u"1")
                ++blocks[(item - 1) / ravenBlockSize];
        }
        if (row[TaskColumn] == task::handedness)
            handedness.insert(row[ItemIdColumn], row[ResponseColumn]);
    }
    if (matricesSeen)
        for (int block = 0; block < ravenBlockCount; ++block) {
            const QString field = QStringLiteral("RavenBlock%1").arg(block + 1);
            if (summary(values, field.toLatin1().constData()) != QString::number(blocks[block]))
                problems << summaryProblem(itemPath, values, field, QString::number(blocks[block]));
        }
    static const QList<std::pair<QString, QString>> codes{{QStringLiteral("thumb"), QStringLiteral("LatThumbCode")},
                                                          {QStringLiteral("arm"), QStringLiteral("LatArmCode")},
                                                          {QStringLiteral("clap"), QStringLiteral("LatClapCode")},
                                                          {QStringLiteral("wink"), QStringLiteral("LatWinkCode")},
                                                          {QStringLiteral("sight"), QStringLiteral("LatSightCode")}};
    for (const auto &[item, field] : codes)
        if (handedness.contains(item) && handedness[item] != missingValue && !values.value(lineIndex(field)).isEmpty()
            && handedness[item] != values.value(lineIndex(field)))
            problems << summaryProblem(itemPath, values, field, handedness[item]);
    std::array<double, handQuestionCount> handValues{};
    bool everyQuestion = true;
    for (int question = 0; question < handQuestionCount; ++question) {
        bool number = false;
        handValues[question] = handedness.value(QStringLiteral("hand%1").arg(question + 1, 2, 10, QChar(u'0'))).toDouble(&number);
        everyQuestion = everyQuestion && number;
    }
    // A summary line without a value is reported as such with its results file.
    if (everyQuestion && !summary(values, "LatHandScore").isEmpty()
        && handScoreText(handScore(handValues)) != summary(values, "LatHandScore"))
        problems << summaryProblem(itemPath, values, QStringLiteral("LatHandScore"), handScoreText(handScore(handValues)));
    return problems;
}

} // namespace

QList<Problem> itemRowProblems(const QString &itemPath, const QList<QStringList> &rows, bool previousForm,
                               const QStringList &resultsValues)
{
    QList<Problem> problems;
    const auto problem = [&](qsizetype row, const QString &reason, int column) {
        problems.append({itemPath, lineOf(row), reason, itemColumnNames()[column], rows[row][column]});
    };
    // trial_index runs 1, 2, … down the file: a number met twice is a row
    // repeated, one lower than the row's before rows out of order, and one
    // never met below the largest a row missing. An earlier battery's file
    // has its rows numbered as read.
    QHash<qint64, qsizetype> rowOfIndex;
    if (!previousForm)
        for (qsizetype i = rows.size() - 1; i >= 0; --i)
            rowOfIndex.insert(rows[i][TrialIndexColumn].toLongLong(), i);
    QHash<QString, qsizetype> rowOfItem; // task/id of an item → its row
    QHash<QString, int> lastTrial;       // task/kind → the trial of its row before
    qint64 previousIndex = 0;
    double previousElapsed = -1;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList &row = rows[i];
        if (row[SessionColumn] != rows[0][SessionColumn])
            problem(i, QStringLiteral("the session changes (%1 on line %2): rows of two runs in one file")
                           .arg(rows[0][SessionColumn]).arg(firstRowLine), SessionColumn);
        const QString &kind = row[KindColumn];
        const QString &id = row[ItemIdColumn];
        if (!isKnownItem(row[TaskColumn], kind, id))
            problem(i, QStringLiteral("%1 is no item of the task %2").arg(id, row[TaskColumn]), ItemIdColumn);
        if (kind == u"item") {
            const QString key = row[TaskColumn] + u'/' + id;
            if (const auto first = rowOfItem.constFind(key); first != rowOfItem.constEnd())
                problem(i, QStringLiteral("repeats the item %1 of line %2").arg(id).arg(lineOf(*first)), ItemIdColumn);
            else
                rowOfItem.insert(key, i);
        }
        if (!previousForm) {
            const qint64 index = row[TrialIndexColumn].toLongLong();
            if (const qsizetype first = rowOfIndex.value(index); first != i)
                problem(i, QStringLiteral("repeats trial_index %1 of line %2").arg(index).arg(lineOf(first)), TrialIndexColumn);
            else if (index < previousIndex)
                problem(i, QStringLiteral("trial_index %1 comes after %2: rows out of order").arg(index).arg(previousIndex),
                        TrialIndexColumn);
            for (qint64 missing = previousIndex + 1; missing < index; ++missing)
                if (!rowOfIndex.contains(missing)) {
                    problem(i, QStringLiteral("no row has trial_index %1: a row is missing before this one").arg(missing),
                            TrialIndexColumn);
                    break;
                }
            previousIndex = index;
            bool timed = false;
            const double elapsed = row[TimeElapsedColumn].toDouble(&timed);
            if (timed && elapsed < previousElapsed)
                problem(i, QStringLiteral("time_elapsed %1 comes after %2: rows out of order")
                               .arg(row[TimeElapsedColumn]).arg(previousElapsed, 0, 'f', 3),
                        TimeElapsedColumn);
            if (timed)
                previousElapsed = elapsed;
        }
        if (kind != u"event") {
            int &last = lastTrial[row[TaskColumn] + u'/' + kind];
            if (const int trial = row[TrialColumn].toInt(); trial < last)
                problem(i, QStringLiteral("trial %1 of %2 comes after trial %3: rows out of order").arg(trial).arg(row[TaskColumn]).arg(last),
                        TrialColumn);
            last = row[TrialColumn].toInt();
        }
        if (row[TaskColumn] == task::matrices && kind == u"item" && row[CorrectColumn] != missingValue
            && (row[CorrectColumn] == u"1") != (row[ResponseColumn] == row[CorrectResponseColumn]))
            problem(i, QStringLiteral("correct is %1, though the response %2 %3 the key %4")
                           .arg(row[CorrectColumn], row[ResponseColumn],
                                row[CorrectColumn] == u"1" ? QStringLiteral("is not") : QStringLiteral("is"),
                                row[CorrectResponseColumn]),
                    CorrectColumn);
    }
    for (const auto &[task, id] : itemsOfEveryRun())
        if (!rowOfItem.contains(task + u'/' + id))
            problems.append({itemPath, 0, QStringLiteral("has no row of the item %1 (%2), which every run has").arg(id, task), {}, {}});
    return problems + recountProblems(itemPath, rows, resultsValues);
}

QList<Problem> resumptionNotes(const QString &itemPath, const QList<QStringList> &rows)
{
    QList<Problem> notes;
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (isResumption(rows[i]))
            notes.append({itemPath, lineOf(i),
                          QStringLiteral("the run was interrupted and taken up again here, after %1 s, at the window %2: "
                                         "its results file does not show it")
                              .arg(rows[i][ResponseColumn], rows[i][StimulusColumn]),
                          itemColumnNames()[ItemIdColumn], rows[i][ItemIdColumn]});
    return notes;
}

int resumptionCount(const QList<QStringList> &rows)
{
    return int(std::count_if(rows.begin(), rows.end(), isResumption));
}

QList<Problem> sidecarProblems(const QString &itemPath, const QString &sidecarPath, const QByteArray &sidecar,
                               const QByteArray &resultsBytes, const QList<QStringList> &rows, bool previousForm)
{
    if (sidecar.isNull())
        return previousForm ? QList<Problem>{}
                            : QList<Problem>{{itemPath, 0, QStringLiteral("has no sidecar %1 to tie it to its results file").arg(sidecarPath), {}, {}}};
    const ItemSidecarTies ties = readItemSidecar(sidecar);
    if (!ties.problem.isEmpty())
        return {{sidecarPath, 0, ties.problem, {}, {}}};
    QList<Problem> problems;
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(resultsBytes, QCryptographicHash::Sha256).toHex());
    if (ties.resultsSha256.compare(hash, Qt::CaseInsensitive) != 0)
        problems.append({itemPath, 0,
                         QStringLiteral("belongs to another run: its sidecar gives the results file's SHA-256 as %1, "
                                        "the results file beside it has %2")
                             .arg(ties.resultsSha256, hash),
                         QStringLiteral("results_sha256"), ties.resultsSha256});
    if (!rows.isEmpty() && rows[0][SessionColumn] != ties.session)
        problems.append({itemPath, firstRowLine,
                         QStringLiteral("the session %1 is not the sidecar's, %2").arg(rows[0][SessionColumn], ties.session),
                         QStringLiteral("session"), rows[0][SessionColumn]});
    return problems;
}
