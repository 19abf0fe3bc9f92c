#pragma once

#include "engine/ItemRows.h"
#include "engine/ResultsFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The item file: UTF-8 without a byte-order mark, tab-separated, lines ending
// in LF, one header row, "n/a" for a value that is missing, times in seconds
// with three decimals and a decimal point. No names: the file name ties it to
// its results file.

enum ItemColumn
{
    SessionColumn,
    BatteryVersionColumn,
    TaskColumn,
    TrialColumn,
    ItemIdColumn,
    StimulusColumn,
    ResponseColumn,
    CorrectResponseColumn,
    CorrectColumn,
    OnsetColumn,
    ResponseTimeColumn,
    ChangesColumn,
    EndedOnColumn,
    itemColumnCount
};

// session, battery_version, task, trial, item, stimulus, response,
// correct_response, correct, onset, response_time, changes, ended_on
const QStringList &itemColumnNames();

inline const QString missingValue = QStringLiteral("n/a");

// "response", "empty" or "timeout".
QString endedOnText(EndedOn ended);

// The rows of a run as cells, every row with the run's session and the
// battery's version.
QList<QStringList> itemCells(const QString &session, const QList<ItemRow> &rows);

QByteArray itemFileContent(const QList<QStringList> &cells);

// Writes the item file of a run beside its results file, whole or not at
// all; the system's reason when it cannot.
std::optional<QString> writeItemFile(const QString &resultsPath, const ItemLog &log, const RunRecord &record);

// Writes the results file and its item file as writeResultsFile writes the
// results alone: the same place for both, the next place when one of them
// cannot be written there. Throws SaveFailure when no place takes both.
SavedResults writeResultsAndItems(const RunRecord &record, const ItemLog &log, const SavedResults &own = {});

// The cells of an item file, or why it is none: a wrong header, a row of
// another number of cells, or a cell that its column cannot hold (with the
// line and the column).
struct ReadItems
{
    QList<QStringList> rows;
    QString problem;
};
ReadItems readItemFile(const QByteArray &bytes);
