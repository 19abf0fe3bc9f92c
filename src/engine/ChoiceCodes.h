#pragma once

#include <QAnyStringView>
#include <QStringList>

// The answer codes of a radio group, from the table of results lines: the
// code the line of the run record's field gives each meaning (its English
// label), in the order of the group's items. The field and every meaning
// must be the table's.
QStringList choiceCodes(QAnyStringView field, const QStringList &meanings);
