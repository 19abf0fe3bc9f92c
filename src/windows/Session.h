#pragma once

#include "engine/ItemLog.h"
#include "engine/Journal.h"
#include "engine/RunRecord.h"
#include "engine/StudySettings.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class JournalWriter;

// One run of the battery: the study's settings, the run record, the item log,
// the run's progress and, where the study turns resuming on, its journal. The
// sequence of windows owns it and hands it to every window it makes.
//
// The journal is rewritten whole at every accepted window and at every answer
// inside the listening and mathematics windows, and deleted when the run ends
// by the subject's choice or by its save. Without it nothing of a run is kept
// before its results file.
class Session
{
public:
    explicit Session(StudySettings settings = {});
    ~Session(); // writes whatever journal was handed over

    StudySettings settings;
    RunRecord record;
    ItemLog items;

    // From now on the run is journaled at `path`.
    void keepJournalAt(const QString &path);
    bool journaled() const { return writer != nullptr; }

    // What the first window tells the subject of the journal: what it is, where
    // it lives and how long it is kept; nothing when the run is not journaled.
    QString journalNotice() const;

    // A run taken up from its journal: the run record and the item log as they
    // were, their readings of the monotonic clock moved onto this process's
    // clock, the time already spent, and this restart as an interruption.
    void takeUp(Journal journal);

    // The window in progress came on screen in this session, after
    // `earlierOnScreen` milliseconds on screen in earlier ones; `tasksDone`
    // windows are accepted.
    void windowEntered(int tasksDone, qint64 earlierOnScreen);
    int tasksDone() const { return accepted; }
    // How long the window in progress has been on screen, over all sessions,
    // each measured on its own monotonic clock.
    qint64 windowOnScreenMilliseconds() const;

    // Writes the journal with the window now in progress and what it needs to
    // go on: handed to the journal's own thread, the window does not wait for
    // the disk. Nothing when the run is not journaled; a write that fails
    // leaves the earlier journal and the run goes on.
    void writeJournal(const WindowProgress &progress) const;

    // Waits until the newest journal handed over is on the disk.
    void drainJournal() const;

    // Ends the journal: the subject withdrew, or the results file is saved. A
    // write still waiting is dropped, and none brings the journal back.
    void endJournal();

    // The time spent in the battery from the start of the run, over all of its
    // sessions: each session measured on the monotonic clock, the first from the
    // run's start moment.
    double runDays() const;

private:
    qint64 spentMilliseconds() const;

    std::unique_ptr<JournalWriter> writer; // none: not journaled
    std::optional<qint64> spentBefore;  // time spent in earlier sessions, when taken up
    qint64 sessionStartMonotonic = 0;   // this session's start, when taken up
    QList<Interruption> interruptions;
    int accepted = 0;              // windows accepted
    qint64 windowShownAt = 0;      // the window in progress, on this session's monotonic clock
    qint64 windowEarlierOnScreen = 0;
};
