#pragma once

#include "engine/ItemLog.h"
#include "engine/RunRecord.h"

#include <QList>
#include <QString>
#include <optional>

// What a row is: something presented that the subject answers, a press that
// is a trial of its own, or an event of the run.
enum class RowKind { Item, Action, Event };

// One row of the item file. Times in milliseconds; nothing where a value
// cannot be known or means nothing for the row.
struct ItemRow
{
    RowKind kind = RowKind::Item;
    QString task;
    int trial = 0;      // 1, 2, … within the task and kind, in order of presentation
    int trialIndex = 0; // 1, 2, … over the run, in order of timeElapsed
    QString item;
    QString stimulus;
    QString response;
    QString recalled; // the word a listening answer field recalled
    QString correctResponse;
    std::optional<bool> correct;
    std::optional<bool> inForce;        // a rule choice not cancelled by the end
    std::optional<qint64> onset;        // from the task's window on screen to the presentation
    std::optional<qint64> timeElapsed;  // from the run's start to the presentation or event
    std::optional<qint64> responseTime; // from the presentation to the accepted answer's last change
    std::optional<qint64> responseElapsed;
    std::optional<int> changes;
    std::optional<int> keystrokes;
    std::optional<EndedOn> endedOn; // nothing for an event
};

// Every item of a run in the order met: the hand and eye window's tests and
// questions, the expression item, the 208 words of both listening series,
// the fifteen problems, each calculator operation, each rule choice and the
// fifteen matrices. Answers and times from the log, keys from the run
// record's name lengths and the answer keys.
QList<ItemRow> itemRows(const ItemLog &log, const RunRecord &record);
