#pragma once

#include "engine/Journal.h"

#include <QString>

// The journal of the run in progress, kept where the study turns resuming on:
// rewritten whole at every accepted window and at every answer inside the
// listening and mathematics windows, deleted when the run ends by the
// subject's choice or by its save. Without it nothing of a run is kept
// before its results file.
namespace runJournal {

// From now on the run is journaled at `path`.
void keepAt(const QString &path);
bool kept();

// What the first window tells the subject of the journal: what it is, where
// it lives and how long it is kept; nothing when the run is not journaled.
QString notice();

// A run taken up from its journal: the run record and the item log as they
// were, the time already spent, and this restart as an interruption.
void takeUp(Journal journal);
// Whether this run was taken up after an interruption.
bool takenUp();

// Writes the journal with the window now in progress and what it needs to go
// on, after `tasksDone` accepted windows: handed to the journal's own thread,
// the window does not wait for the disk. Nothing when the run is not kept; a
// write that fails leaves the earlier journal and the run goes on.
void write(int tasksDone, const WindowProgress &progress);

// Waits until the newest journal handed over is on the disk.
void drain();

// Ends the journal: the subject withdrew, or the results file is saved. A
// write still waiting is dropped, and none brings the journal back.
void end();

// The time spent in the battery from the start of the run, over all of its
// sessions: each session measured on the monotonic clock, the first from the
// run's start moment.
double runDays();

// Forgets the run's journal state as a process that ends abruptly would,
// once the newest journal is on the disk; the file on disk stays.
void forget();

} // namespace runJournal
