#pragma once

#include "engine/JournalFile.h"

#include <QString>

// The first thing shown when a run was interrupted: whose run it is, when it
// started and how far it went. True to go on with it; false once the subject
// has chosen, and confirmed, to start afresh.
bool askToResume(const Journal &journal);

// The one line that tells the subject why an interrupted run cannot go on.
QString notResumedText(const FoundJournal &found);
