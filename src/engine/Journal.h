#pragma once

#include "engine/ItemLog.h"
#include "engine/RunRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the window in progress needs to go on where it was left. Only the
// listening series and the mathematics sheet keep anything: every other
// window starts empty, as its answers were not accepted yet.
struct WindowProgress
{
    QString window;      // the window's class name
    QStringList answers; // its answer fields' texts, in field order
    QList<int> spent;    // recordings already played, numbered from 1
    qint64 onScreenMilliseconds = 0; // how long the window has been shown, over all sessions
    bool warningShown = false;       // the mathematics sheet's 50-minute warning

    bool operator==(const WindowProgress &) const = default;
};

// A restart that took the run up again.
struct Interruption
{
    qint64 gapSeconds = 0; // from the journal's last write to the restart, on the wall clock
    QString window;        // the window the run went on at

    bool operator==(const Interruption &) const = default;
};

// A run that is not over yet, as the battery keeps it so that a crash, a power
// cut or a forced restart loses nothing accepted: the run record, the item log
// when the study keeps item data, and the window in progress.
struct Journal
{
    QString batteryVersion;
    QDateTime written;            // the wall clock at the write, in UTC: the journal's age
    qint64 writtenMonotonic = 0;  // the monotonic clock at the write, in the writing process
    qint64 spentMilliseconds = 0; // time in the battery over all sessions until the write
    int tasksDone = 0;            // windows accepted
    RunRecord record;
    std::optional<ItemLog> items;
    WindowProgress progress;
    QList<Interruption> interruptions;
};

// The journal's bytes: a first line that names the format, its version, the
// length and the SHA-256 of the rest, then the journal as compact JSON.
QByteArray journalBytes(const Journal &journal);

// A journal read back, or why the bytes are none: a torn or truncated write,
// bytes changed, another format, a field missing or of the wrong type.
struct ReadJournal
{
    std::optional<Journal> journal;
    QString problem;
};
ReadJournal readJournal(const QByteArray &bytes);

// The item log of a journal taken up by a new process, whose monotonic clock
// reads `now`: every time moved so that the run goes on from the moment of the
// journal's write, and the time between is not counted.
void continueItemLog(ItemLog &log, qint64 writtenMonotonic, qint64 now);
