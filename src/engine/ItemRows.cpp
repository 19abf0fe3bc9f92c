#include "engine/ItemRows.h"

#include "engine/DichoticScoring.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"
#include "engine/Numbers.h"
#include "engine/RavenKey.h"

#include <algorithm>

namespace {

constexpr int seriesCount = 2;
constexpr int wordsPerChannel = 4;

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

std::optional<qint64> since(std::optional<qint64> from, std::optional<qint64> to)
{
    if (!from || !to || *to < *from)
        return std::nullopt;
    return *to - *from;
}

EndedOn endingOf(const LoggedItem &logged)
{
    if (logged.ended)
        return *logged.ended;
    return logged.value.isEmpty() ? EndedOn::Empty : EndedOn::Response;
}

// An item on the page of the window shown for `window`, there from its
// showing; the log knows it only once it is answered.
ItemRow pageRow(const ItemLog &log, const QString &task, const QString &id, const QString &stimulus = {},
                const QString &window = {})
{
    ItemRow row{task, 0, id, stimulus, {}, {}, {}, {}, {}, {}, EndedOn::Empty};
    if (const LoggedItem *logged = log.item(id)) {
        if (!logged->stimulus.isEmpty())
            row.stimulus = logged->stimulus;
        row.response = logged->value;
        const qint64 presented = logged->presentedAt.value_or(logged->shownAt);
        row.onset = since(logged->shownAt, presented);
        row.responseTime = since(presented, logged->lastChangeAt);
        row.changes = logged->changes;
        row.endedOn = endingOf(*logged);
    } else if (log.shownAt(window.isEmpty() ? task : window)) {
        row.onset = 0;
        row.changes = 0;
    }
    return row;
}

void appendHandedness(QList<ItemRow> &rows, const ItemLog &log)
{
    for (const QString &id : handednessItems())
        rows << pageRow(log, task::handedness, id);
}

// A mathematics item scored against its key for this subject's name lengths;
// index 0 to 14 for the problems, 15 for the expression item.
ItemRow scoredMath(ItemRow row, int index, const RunRecord &record)
{
    const double key = mathKey(record.InfoNameLength, record.InfoSurnameLength)[index];
    row.correctResponse = numberText(key);
    row.correct = mathAnswer(row.response) == key;
    return row;
}

void appendExpression(QList<ItemRow> &rows, const ItemLog &log, const RunRecord &record)
{
    // At the foot of the hand and eye window.
    rows << scoredMath(pageRow(log, task::expression, expressionItem, {}, task::handedness), mathItemCount - 1, record);
}

void appendMath(QList<ItemRow> &rows, const ItemLog &log, const RunRecord &record)
{
    const QString parameters = QStringLiteral("И=%1, Ф=%2").arg(record.InfoNameLength).arg(record.InfoSurnameLength);
    for (int problem = 1; problem < mathItemCount; ++problem)
        rows << scoredMath(pageRow(log, task::math, mathItem(problem), parameters), problem - 1, record);
}

// Series 1 sends channel A to ear A; for series 2 the headphones are turned
// around, so channel A reaches ear B.
QChar earOf(int series, QChar channel)
{
    return series == 1 ? channel : channel == u'A' ? QChar(u'B') : QChar(u'A');
}

void appendRecording(QList<ItemRow> &rows, const ItemLog &log, int series, int recording)
{
    const LoggedItem *played = log.item(dichoticRecordingItem(series, recording));
    QStringList answers;
    QList<const LoggedItem *> fields;
    for (int field = 1; field <= fieldsPerRecording; ++field) {
        fields << log.item(dichoticFieldItem(series, recording, field));
        answers << (fields.last() ? fields.last()->value : QString());
    }
    const RecordingWords &words = dichoticWords()[recording - 1];
    for (const QChar channel : {QChar(u'A'), QChar(u'B')}) {
        const ChannelWords &list = channel == u'A' ? words.channelA : words.channelB;
        for (int position = 1; position <= wordsPerChannel; ++position) {
            const StimulusWord &word = list[position - 1];
            ItemRow row{task::dichotic, 0, dichoticWordItem(series, recording, channel, position),
                        QStringLiteral("%1 (channel %2, ear %3)").arg(word.written, channel, earOf(series, channel)),
                        {}, word.written, isRecalled(answers, word), {}, {}, {}, EndedOn::Empty};
            if (played)
                row.onset = since(played->shownAt, played->presentedAt);
            if (*row.correct) {
                const qsizetype field = std::find_if(answers.begin(), answers.end(),
                                                     [&](const QString &answer) { return word.accepts(answer); })
                    - answers.begin();
                const LoggedItem *answered = fields[field];
                row.response = answers[field];
                row.responseTime = since(played ? played->presentedAt : std::nullopt, answered->lastChangeAt);
                row.changes = answered->changes;
                row.endedOn = EndedOn::Response;
            }
            rows << row;
        }
    }
}

// Each series' recordings in the order played; one never played, after them.
void appendDichotic(QList<ItemRow> &rows, const ItemLog &log)
{
    const QStringList played = log.presentedItems(task::dichotic);
    for (int series = 1; series <= seriesCount; ++series) {
        QList<int> order;
        for (int recording = 1; recording <= recordingCount; ++recording)
            order << recording;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const auto position = [&](int recording) {
                const qsizetype at = played.indexOf(dichoticRecordingItem(series, recording));
                return at < 0 ? played.size() : at;
            };
            return position(a) < position(b);
        });
        for (const int recording : order)
            appendRecording(rows, log, series, recording);
    }
}

ItemRow actionRow(const LoggedAction &action)
{
    return {action.task, 0, action.item, {}, action.response, action.outcome, {}, action.at - action.shownAt,
            {}, {}, EndedOn::Response};
}

void appendCalculator(QList<ItemRow> &rows, const ItemLog &log)
{
    for (const LoggedAction &action : log.actions(task::calculator)) {
        ItemRow row = actionRow(action);
        for (const Operation operation : {Operation::Lasm, Operation::Vadl, Operation::Parm})
            if (action.item == calculatorItem(operation))
                row.stimulus = operationName(operation);
        rows << row;
    }
}

void appendRules(QList<ItemRow> &rows, const ItemLog &log)
{
    for (const LoggedAction &action : log.actions(task::rules)) {
        const std::optional<RuleChoice> choice = ruleChoiceOf(action.item);
        if (!choice)
            continue;
        ItemRow row = actionRow(action);
        row.stimulus = operationName(choice->operation);
        if (choice->comparison) {
            const Expression truth = trueRule(choice->operation, *choice->comparison);
            row.response = ruleCaption(*choice->comparison, choice->expression);
            row.correctResponse = ruleCaption(*choice->comparison, truth);
            row.correct = choice->expression == truth;
        } else {
            row.response = QStringLiteral("ОТМЕНИТЬ");
        }
        rows << row;
    }
}

void appendMatrices(QList<ItemRow> &rows, const ItemLog &log)
{
    for (int item = 1; item <= ravenItemCount; ++item) {
        ItemRow row = pageRow(log, task::matrices, matrixItem(item),
                              QStringLiteral("raven/item%1.jpg").arg(item, 2, 10, QLatin1Char('0')));
        row.correctResponse = QString::number(ravenKey[item - 1]);
        row.correct = parseInteger(row.response) == ravenKey[item - 1];
        rows << row;
    }
}

} // namespace

QList<ItemRow> itemRows(const ItemLog &log, const RunRecord &record)
{
    QList<ItemRow> rows;
    appendHandedness(rows, log);
    appendExpression(rows, log, record);
    appendDichotic(rows, log);
    appendMath(rows, log, record);
    appendCalculator(rows, log);
    appendRules(rows, log);
    appendMatrices(rows, log);

    QHash<QString, int> trials;
    for (ItemRow &row : rows)
        row.trial = ++trials[row.task];
    return rows;
}
