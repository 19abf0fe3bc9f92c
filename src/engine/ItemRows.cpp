#include "engine/ItemRows.h"

#include "engine/DichoticScoring.h"
#include "engine/ItemIds.h"
#include "engine/MathKey.h"
#include "engine/Numbers.h"
#include "engine/RavenKey.h"

#include <algorithm>
#include <tuple>

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

// A row on the run's timeline, and the order in which it was logged (for
// rows of the same time).
struct TimedRow
{
    ItemRow row;
    qint64 sequence = 0;
};

// The times of a row presented at `presented`, its task's window on screen
// at `shown`, answered last at `answered`.
void setTimes(ItemRow &row, const ItemLog &log, std::optional<qint64> shown, std::optional<qint64> presented,
              std::optional<qint64> answered)
{
    row.onset = since(shown, presented);
    row.timeElapsed = since(log.started(), presented);
    row.responseTime = since(presented, answered);
    row.responseElapsed = since(log.started(), answered);
}

// A typed field as it was finally taken: an edit not finished when the
// window moved on counts as accepted then.
LoggedItem settled(LoggedItem logged)
{
    if (logged.keystrokes && !logged.locked && logged.text != logged.value) {
        logged.value = logged.text;
        ++logged.changes;
        logged.lastChangeAt = logged.lastEditAt;
    }
    return logged;
}

EndedOn endingOf(const LoggedItem &logged)
{
    if (!logged.value.isEmpty())
        return EndedOn::Response;
    return logged.locked ? EndedOn::Timeout : EndedOn::Empty;
}

// The answer of a field or a choice: response, changes, keystrokes, ending
// and times, for an item presented at `presented`.
void setAnswer(ItemRow &row, const ItemLog &log, const LoggedItem &logged, std::optional<qint64> presented)
{
    row.response = logged.value;
    row.changes = logged.changes;
    row.keystrokes = logged.keystrokes;
    row.endedOn = endingOf(logged);
    setTimes(row, log, logged.shownAt, presented, logged.lastChangeAt);
}

// An item on the page of the window shown for `window`, there from its
// showing; the log knows it only once it is answered.
TimedRow pageRow(const ItemLog &log, const QString &task, const QString &id, const QString &stimulus = {},
                 const QString &window = {})
{
    TimedRow timed{{RowKind::Item, task, 0, 0, id, stimulus}, 0};
    ItemRow &row = timed.row;
    row.endedOn = EndedOn::Empty;
    if (const LoggedItem *found = log.item(id)) {
        const LoggedItem logged = settled(*found);
        if (!logged.stimulus.isEmpty())
            row.stimulus = logged.stimulus;
        setAnswer(row, log, logged, logged.presentedAt.value_or(logged.shownAt));
        timed.sequence = logged.sequence;
    } else if (const std::optional<WindowShowing> shown = log.shownAt(window.isEmpty() ? task : window)) {
        setTimes(row, log, shown->at, shown->at, std::nullopt);
        row.changes = 0;
        timed.sequence = shown->sequence;
    }
    return timed;
}

void appendHandedness(QList<TimedRow> &rows, const ItemLog &log)
{
    for (const QString &id : handednessItems())
        rows << pageRow(log, task::handedness, id);
}

// A mathematics item scored against its key for this subject's name lengths;
// index 0 to 14 for the problems, 15 for the expression item.
TimedRow scoredMath(TimedRow timed, int index, const RunRecord &record)
{
    const double key = mathKey(record.InfoNameLength, record.InfoSurnameLength)[index];
    timed.row.correctResponse = numberText(key);
    timed.row.correct = mathAnswer(timed.row.response) == key;
    return timed;
}

void appendExpression(QList<TimedRow> &rows, const ItemLog &log, const RunRecord &record)
{
    // At the foot of the hand and eye window.
    rows << scoredMath(pageRow(log, task::expression, expressionItem, {}, task::handedness), mathItemCount - 1, record);
}

void appendMath(QList<TimedRow> &rows, const ItemLog &log, const RunRecord &record)
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

// The eight words of a recording, then its eight answer fields, each timed
// from the moment the recording started sounding.
void appendRecording(QList<TimedRow> &rows, const ItemLog &log, int series, int recording)
{
    const LoggedItem *played = log.item(dichoticRecordingItem(series, recording));
    const std::optional<qint64> started = played ? played->presentedAt : std::nullopt;
    const std::optional<qint64> shown = played ? std::optional(played->shownAt) : std::nullopt;
    const qint64 sequence = played ? played->sequence : 0;
    QList<std::optional<LoggedItem>> fields;
    QStringList answers;
    for (int field = 1; field <= fieldsPerRecording; ++field) {
        const LoggedItem *logged = log.item(dichoticFieldItem(series, recording, field));
        fields << (logged ? std::optional(settled(*logged)) : std::nullopt);
        answers << (fields.last() ? fields.last()->value : QString());
    }
    const RecordingWords &words = dichoticWords()[recording - 1];
    QList<const StimulusWord *> heard;
    for (const QChar channel : {QChar(u'A'), QChar(u'B')}) {
        const ChannelWords &list = channel == u'A' ? words.channelA : words.channelB;
        for (int position = 1; position <= wordsPerChannel; ++position) {
            const StimulusWord &word = list[position - 1];
            heard << &word;
            ItemRow row{RowKind::Item, task::dichotic, 0, 0, dichoticWordItem(series, recording, channel, position),
                        QStringLiteral("%1 (channel %2, ear %3)").arg(word.written, channel, earOf(series, channel))};
            row.correctResponse = word.written;
            row.correct = isRecalled(answers, word);
            row.endedOn = EndedOn::Empty;
            setTimes(row, log, shown, started, std::nullopt);
            if (*row.correct) {
                const qsizetype field = std::find_if(answers.begin(), answers.end(),
                                                     [&](const QString &answer) { return word.accepts(answer); })
                    - answers.begin();
                setAnswer(row, log, *fields[field], started);
                row.onset = since(shown, started);
            }
            rows << TimedRow{row, sequence};
        }
    }
    for (int field = 1; field <= fieldsPerRecording; ++field) {
        ItemRow row{RowKind::Item, task::dichotic, 0, 0, dichoticFieldItem(series, recording, field),
                    dichoticRecordingItem(series, recording)};
        row.endedOn = EndedOn::Empty;
        setTimes(row, log, shown, started, std::nullopt);
        if (const std::optional<LoggedItem> &logged = fields[field - 1]) {
            setAnswer(row, log, *logged, started);
            row.onset = since(shown, started);
        }
        const auto recalled = std::find_if(heard.begin(), heard.end(),
                                           [&](const StimulusWord *word) { return word->accepts(row.response); });
        row.correct = recalled != heard.end();
        if (*row.correct)
            row.recalled = (*recalled)->written;
        rows << TimedRow{row, sequence};
    }
}

// Each series' recordings in the order played; one never played, after them.
void appendDichotic(QList<TimedRow> &rows, const ItemLog &log)
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

// A press: presented with its window's buttons, answered by the press itself.
TimedRow actionRow(const ItemLog &log, const LoggedAction &action)
{
    ItemRow row{RowKind::Action, action.task, 0, 0, action.item};
    row.response = action.response;
    row.correctResponse = action.outcome;
    row.changes = 1;
    row.endedOn = EndedOn::Response;
    setTimes(row, log, action.shownAt, action.shownAt, action.at);
    return {row, action.sequence};
}

void appendCalculator(QList<TimedRow> &rows, const ItemLog &log)
{
    for (const LoggedAction &action : log.actions(task::calculator)) {
        TimedRow timed = actionRow(log, action);
        for (const Operation operation : {Operation::Lasm, Operation::Vadl, Operation::Parm})
            if (action.item == calculatorItem(operation))
                timed.row.stimulus = operationName(operation);
        rows << timed;
    }
}

// A rule choice stays in force unless a cancel of its operation or a later
// press of the same rule follows it.
void appendRules(QList<TimedRow> &rows, const ItemLog &log)
{
    const QList<LoggedAction> actions = log.actions(task::rules);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const std::optional<RuleChoice> choice = ruleChoiceOf(actions[i].item);
        if (!choice)
            continue;
        TimedRow timed = actionRow(log, actions[i]);
        ItemRow &row = timed.row;
        row.stimulus = operationName(choice->operation);
        if (choice->comparison) {
            const Expression truth = trueRule(choice->operation, *choice->comparison);
            row.response = ruleCaption(*choice->comparison, choice->expression);
            row.correctResponse = ruleCaption(*choice->comparison, truth);
            row.correct = choice->expression == truth;
            row.inForce = std::none_of(actions.begin() + i + 1, actions.end(), [&](const LoggedAction &later) {
                return later.item == actions[i].item || later.item == ruleCancelItem(choice->operation);
            });
        } else {
            row.response = QStringLiteral("ОТМЕНИТЬ");
        }
        rows << timed;
    }
}

void appendMatrices(QList<TimedRow> &rows, const ItemLog &log)
{
    for (int item = 1; item <= ravenItemCount; ++item) {
        TimedRow timed = pageRow(log, task::matrices, matrixItem(item),
                                 QStringLiteral("raven/item%1.jpg").arg(item, 2, 10, QLatin1Char('0')));
        timed.row.correctResponse = QString::number(ravenKey[item - 1]);
        timed.row.correct = parseInteger(timed.row.response) == ravenKey[item - 1];
        rows << timed;
    }
}

void appendEvents(QList<TimedRow> &rows, const ItemLog &log)
{
    for (const LoggedEvent &event : log.events()) {
        ItemRow row{RowKind::Event, event.task, 0, 0, event.name, event.stimulus, event.response};
        row.timeElapsed = since(log.started(), event.at);
        rows << TimedRow{row, event.sequence};
    }
}

} // namespace

QList<ItemRow> itemRows(const ItemLog &log, const RunRecord &record)
{
    QList<TimedRow> timed;
    appendEvents(timed, log);
    appendHandedness(timed, log);
    appendExpression(timed, log, record);
    appendDichotic(timed, log);
    appendMath(timed, log, record);
    appendCalculator(timed, log);
    appendRules(timed, log);
    appendMatrices(timed, log);
    // A row never presented (its window never shown) goes last.
    std::stable_sort(timed.begin(), timed.end(), [](const TimedRow &a, const TimedRow &b) {
        const auto key = [](const TimedRow &t) {
            return std::tuple(!t.row.timeElapsed, t.row.timeElapsed.value_or(0), t.sequence);
        };
        return key(a) < key(b);
    });

    QList<ItemRow> rows;
    QHash<QString, int> trials;
    for (TimedRow &t : timed) {
        t.row.trialIndex = int(rows.size()) + 1;
        t.row.trial = ++trials[t.row.task + u'/' + QString::number(int(t.row.kind))];
        rows << t.row;
    }
    return rows;
}
