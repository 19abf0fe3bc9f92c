#pragma once

#include "engine/Journal.h"

#include <QString>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

// Writes the journal of a run on a thread of its own, so that the window in
// progress never waits for the disk: a write hands the run's state over and
// returns at once. The thread always writes the newest state handed over: a
// state not yet written when a newer one comes is dropped, never written
// after it. Each write is whole and synced before it takes the journal's
// name, as writeJournal() makes it.
class JournalWriter
{
public:
    explicit JournalWriter(const QString &path);
    // Writes what was handed over before it returns.
    ~JournalWriter();
    JournalWriter(const JournalWriter &) = delete;
    JournalWriter &operator=(const JournalWriter &) = delete;

    const QString &path() const { return journalPath; }

    // Hands the run's newest state over to be written. Nothing once the
    // journal has been removed.
    void write(Journal journal);

    // Waits until the newest state handed over is on the disk; the system's
    // reason when the last write failed, and the earlier journal stands.
    std::optional<QString> drain();

    // Ends the journal for good: a state not yet written is dropped, a write
    // in progress is waited for, and then the journal is deleted, so that no
    // write can bring it back. True when no journal is left.
    bool remove();

private:
    void writeUntilStopped();

    const QString journalPath;
    std::mutex lock;
    std::condition_variable changed;
    std::optional<Journal> pending;  // handed over, not yet taken up by the thread
    bool writing = false;            // the thread is writing a state
    bool removed = false;            // remove() has run: nothing more is written
    bool stopping = false;           // the writer is being destroyed
    std::optional<QString> lastFailure;
    // A QThread rather than a thread Qt would have to adopt when Qt's file
    // classes first run on it: on Windows Qt watches each adopted thread for
    // its end from yet another thread. Last: started once everything above
    // is made.
    std::unique_ptr<QThread> thread;
};
