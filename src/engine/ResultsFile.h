#pragma once

#include "engine/Failure.h"
#include "engine/ResultLines.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// The 69 values as texts, in file order; a line break inside a value becomes a blank.
std::array<QString, resultsLineCount> resultsLines(const RunRecord &record);

// surname + "_" + name + "_" + number + ".txt"
QString resultsFileName(const RunRecord &record, int number = 1);

// The item file beside a results file: "Фамилия_Имя_N.txt" gives
// "Фамилия_Имя_N.items.tsv".
QString itemFilePath(const QString &resultsPath);
// Its sidecar, "Фамилия_Имя_N.items.json": the longest name of the three.
QString itemSidecarPath(const QString &resultsPath);

// The file's bytes: Windows-1251, every line ending in CR LF.
QByteArray resultsFileContent(const RunRecord &record);

// Why a surname and a name cannot form the results file name, if they cannot.
enum class FileNameFault {
    None,
    Characters, // one a file name may not hold, or one not in Windows-1251
    Length,     // a name of more than 255 bytes, the item sidecar's too when the
                // study keeps item data
};
FileNameFault fileNameFault(const QString &surname, const QString &name, bool withItemFile);

// A results file on disk.
struct SavedResults
{
    QString path; // absolute
};

// No place took the results file; the system's reason, in Russian where it
// is a common one.
struct SaveFailure : Failure
{
    explicit SaveFailure(QString why) : reason(std::move(why)) {}
    QString reason;
};

// Writes a run's results file atomically: complete on disk, or not there and
// an earlier file as it was. A run's first save takes the first free name
// surname_name_N.txt (N from 1) in the first folder that takes the file: the
// working directory, the user's Documents folder, the home folder; so it
// never replaces a file that it did not write. A later save of the same run
// rewrites `own`, what its first save returned. Throws SaveFailure when no
// place takes the file. `beside`, if given, writes a companion file for the
// results file's path and returns why it could not; a place takes the
// results only when it takes the companion too.
using WriteBeside = std::function<std::optional<QString>(const QString &resultsPath)>;
SavedResults writeResultsFile(const RunRecord &record, const SavedResults &own = {}, const WriteBeside &beside = {});

// A run's first save into a folder the subject chose, as above.
SavedResults writeResultsFileIn(const QString &folder, const RunRecord &record, const WriteBeside &beside = {});
