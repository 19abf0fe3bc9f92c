#pragma once

#include "engine/Journal.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The journal of a run in progress, one file in the user's
// application-data folder: never in the working directory, which may be
// shared or read-only.
QString journalPathIn(const QString &folder);

// Writes the journal whole or not at all, synced to the disk with its name,
// readable and writable by its user alone: a power cut at any moment leaves
// the earlier journal or this one. The system's reason when it cannot. It
// waits for the disk: the battery writes through a JournalWriter.
std::optional<QString> writeJournal(const QString &path, const Journal &journal);

// Whether a journal found at start-up can take its run up again.
enum class JournalStanding
{
    Absent,       // no journal: a fresh run, nothing to say
    Resumable,    // this battery's, young enough, its user's own
    Unreadable,   // torn, changed or not a journal at all
    OtherVersion, // written by another version of the battery
    Expired,      // older than the study allows, or dated after now
    NotOwned,     // another user's file, or one that others may read
};

struct FoundJournal
{
    JournalStanding standing = JournalStanding::Absent;
    std::optional<Journal> journal; // when resumable
    QString why;                    // when not resumable: why, in Russian, for one line
    QString keptAs;                 // when not resumable: where the journal was moved
};

// The journal at `path` as the battery of `version` finds it at `now`, with
// journals older than `maxHours` not taken up. One that is not taken up is
// moved aside in its folder under a name that says why and when, never
// deleted: the study may still want it.
FoundJournal findJournal(const QString &path, const QString &version, const QDateTime &now, int maxHours);

// Deletes the journal, for good across a power cut; true when none is left.
bool removeJournal(const QString &path);
