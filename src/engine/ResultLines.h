#pragma once

#include "engine/RunRecord.h"

#include <QString>
#include <QStringList>
#include <array>

constexpr int resultsLineCount = 69;

// What a line of the results file may hold.
enum class FieldKind
{
    Text,    // anything
    Code,    // one of a few answer codes
    Integer, // a whole number in a range
    Decimal, // a number in a range, with a decimal point or comma
};

struct FieldRule
{
    FieldKind kind = FieldKind::Text;
    QStringList allowed; // the codes; for a number, the texts allowed instead of one
    double minimum = 0;
    double maximum = 0;
};

// One line of the results file: the run record's field, how the battery
// writes it, and what a results file may hold there.
struct ResultLine
{
    QString field;
    QString (*write)(const RunRecord &);
    FieldRule rule;
};

// The 69 lines in file order: the one description from which the battery
// writes its results and the collector checks and names them.
const std::array<ResultLine, resultsLineCount> &resultLines();
