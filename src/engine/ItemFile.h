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

// The columns in file order, as itemFileColumns() describes them.
enum ItemColumn
{
    SessionColumn,
    BatteryVersionColumn,
    TrialIndexColumn,
    KindColumn,
    TaskColumn,
    TrialColumn,
    ItemIdColumn,
    StimulusColumn,
    ResponseColumn,
    RecalledColumn,
    CorrectResponseColumn,
    CorrectColumn,
    InForceColumn,
    OnsetColumn,
    TimeElapsedColumn,
    ResponseTimeColumn,
    ResponseElapsedColumn,
    ChangesColumn,
    KeystrokesColumn,
    EndedOnColumn,
    itemColumnCount
};

// The names of the columns, from itemFileColumns().
const QStringList &itemColumnNames();

// The thirteen columns of the item files that earlier batteries wrote:
// session, battery_version, task, trial, item, stimulus, response,
// correct_response, correct, onset, response_time, changes, ended_on.
const QStringList &previousItemColumnNames();

inline const QString missingValue = QStringLiteral("n/a");

// "response", "empty" or "timeout".
QString endedOnText(EndedOn ended);

// The rows of a run as cells, every row with the run's session and the
// battery's version.
QList<QStringList> itemCells(const QString &session, const QList<ItemRow> &rows);

QByteArray itemFileContent(const QList<QStringList> &cells);

// The item file of a run and its sidecar, whole or neither; the system's
// reason when they cannot be written.
std::optional<QString> writeItemFile(const QString &resultsPath, const ItemLog &log, const RunRecord &record);

// What writes a run's item file beside its results file, for
// writeResultsFile: a place takes the results only with the item file and its
// sidecar.
WriteBeside itemFilesBeside(const ItemLog &log, const RunRecord &record);

// The cells of an item file in the current column order, or why it is none:
// a wrong header, a row of another number of cells, or a cell that its
// column cannot hold (with the line and the column). A file of the previous
// thirteen columns is read into the current order: trial_index numbers its
// rows in file order, kind is "action" for the calculator's and the rule
// window's rows and "item" for the others, and the columns it lacks are
// "n/a". A byte-order mark and CR LF line ends are taken.
enum class ItemFileForm { Current, Previous };
struct ReadItems
{
    QList<QStringList> rows;
    QString problem;
    ItemFileForm form = ItemFileForm::Current;
};
ReadItems readItemFile(const QByteArray &bytes);
