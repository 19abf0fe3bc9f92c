#pragma once

#include "collect/Problem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

// What an item file's rows say against themselves and against the summary
// lines of their results file, each with the item file's line (the header is
// line 1): a row repeated, a row missing (a gap in trial_index, an item of the
// run that has no row), an item no battery has, rows out of order, a session
// that changes, a `correct` that does not follow from the response, and the
// matrices' blocks or the hand and eye codes and score that the rows do not
// give. Recounts that the engine's summary already compares are left to it.
QList<Problem> itemRowProblems(const QString &itemPath, const QList<QStringList> &rows, bool previousForm,
                               const QStringList &resultsValues);

// Each time the run was taken up again after an interruption (a crash, a
// power cut), with its row's line, the gap and the window it went on at: not
// a fault of the files, but their times span more than one session of the
// battery, which the results file does not show.
QList<Problem> resumptionNotes(const QString &itemPath, const QList<QStringList> &rows);

// How many times the run of these rows was taken up again.
int resumptionCount(const QList<QStringList> &rows);

// Whether the sidecar ties the item file to its results file: the SHA-256 of
// the results file's bytes and the session of the rows must be the
// sidecar's. Nothing for a sidecar that is absent (null bytes) while the
// item file has the previous form, which had none.
QList<Problem> sidecarProblems(const QString &itemPath, const QString &sidecarPath, const QByteArray &sidecar,
                               const QByteArray &resultsBytes, const QList<QStringList> &rows, bool previousForm);
