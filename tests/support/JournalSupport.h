#pragma once

#include "engine/Journal.h"

namespace test {

// A run record whose every field holds a value of its own, none the default.
RunRecord everyFieldSet();

// The journal at its largest: a whole run's record and item log, and the
// first listening series in progress with every recording played and every
// field typed.
Journal largestJournal();

// A file's bytes; none when it cannot be read.
QByteArray fileBytes(const QString &path);

} // namespace test
