#pragma once

#include "collect/Problem.h"

#include <QList>
#include <QStringList>

// The lines of one results file that contradict each other, as only a file
// edited by hand or damaged has them: a total that is not the sum of its
// parts, a count of operations found that is not the count of them, a class
// or coefficient that does not follow from the score or counts it is made
// from, an age in years that does not follow from the days, and a file name
// whose surname and name are not those inside. Lines whose values are no
// numbers at all are left to the checks of single values.
QList<Problem> contradictions(const QString &path, const QStringList &lines);
