#include "engine/JournalWriter.h"

#include "engine/JournalFile.h"

#include <QDebug>

JournalWriter::JournalWriter(const QString &path)
    : journalPath(path)
    , thread(QThread::create([this] { writeUntilStopped(); }))
{
    thread->start();
}

JournalWriter::~JournalWriter()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    changed.notify_all();
    thread->wait();
}

void JournalWriter::write(Journal journal)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        if (removed)
            return;
        pending = std::move(journal);
    }
    changed.notify_all();
}

std::optional<QString> JournalWriter::drain()
{
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [this] { return !pending && !writing; });
    return lastFailure;
}

bool JournalWriter::remove()
{
    std::unique_lock<std::mutex> guard(lock);
    removed = true;
    pending.reset();
    // A write in progress would otherwise put the journal back after its
    // deletion: the deletion waits for it, and holds the lock so that no
    // other write begins.
    changed.wait(guard, [this] { return !writing; });
    return removeJournal(journalPath);
}

void JournalWriter::writeUntilStopped()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [this] { return pending || stopping; });
        if (!pending)
            return; // stopping, with everything handed over written
        const Journal journal = std::move(*pending);
        pending.reset();
        writing = true;
        guard.unlock();
        const std::optional<QString> failed = writeJournal(journalPath, journal);
        if (failed)
            qWarning().noquote() << "The journal" << journalPath << "was not written:" << *failed;
        guard.lock();
        writing = false;
        lastFailure = failed;
        changed.notify_all();
    }
}
