#pragma once

#include "collect/Collector.h"

// Numbers the rows of each subject 1, 2, … in order of their start, the test
// date and start time written in the files; when a file's start cannot be
// read, in order of the number N of the file surname_name_N.txt and then of
// its path (a file named otherwise counts as number 0).
void numberRuns(QList<ResultsRow> &rows);
