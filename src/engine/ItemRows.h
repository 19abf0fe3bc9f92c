#pragma once

#include "engine/ItemLog.h"
#include "engine/RunRecord.h"

#include <QList>
#include <QString>
#include <optional>

// One item a subject met: a row of the item file. Times in milliseconds;
// nothing where a value cannot be known.
struct ItemRow
{
    QString task;
    int trial = 0; // 1, 2, … within the task, in order of presentation or action
    QString item;
    QString stimulus;
    QString response;
    QString correctResponse;
    std::optional<bool> correct;
    std::optional<qint64> onset;        // from the task's window shown to the item's first presentation
    std::optional<qint64> responseTime; // from the onset to the answer's last change
    std::optional<int> changes;
    EndedOn endedOn = EndedOn::Empty;
};

// Every item of a run in the order met: the hand and eye window's tests and
// questions, the expression item, the 208 words of both listening series,
// the fifteen problems, each calculator operation, each rule choice and the
// fifteen matrices. Answers and times from the log, keys from the run
// record's name lengths and the answer keys.
QList<ItemRow> itemRows(const ItemLog &log, const RunRecord &record);
