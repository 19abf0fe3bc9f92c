#pragma once

#include "engine/RunRecord.h"

#include <QAnyStringView>
#include <QList>
#include <QString>
#include <array>

constexpr int resultsLineCount = 69;

// What a line of the results file may hold.
enum class FieldKind
{
    Text,         // anything
    Code,         // one of a few answer codes
    Integer,      // a whole number in a range
    Decimal,      // a number in a range, with a decimal point or comma
    TypedDate,    // a calendar date as typed: day.month.year
    RegionalDate, // a date in the sending computer's short date format
    RegionalTime, // a time of day in the sending computer's long time format
    Duration,     // hours, minutes and seconds: H:mm:ss
};

// A value with a meaning of its own, in Russian and in English.
struct CodeLabel
{
    QString code;
    QString russian;
    QString english;
};

struct FieldRule
{
    FieldKind kind = FieldKind::Text;
    // The codes of a coded line; for a number, the texts allowed instead of
    // one; for a text, the values that stand for an answer rather than a text.
    QList<CodeLabel> codes;
    double minimum = 0;
    double maximum = 0;

    bool hasCode(const QString &value) const;
};

// What a line means, for the study's codebook.
struct FieldMeaning
{
    QString russian;
    QString english;
    QString unit; // "русский / English"; empty when the values have none
};

// What a line tells about who the subject is.
enum class Disclosure
{
    None,      // a score, code or count
    Name,      // the subject's surname or name
    BirthDate, // the subject's date of birth
    Contact,   // how to reach the subject
    Context,   // narrows the subject down with other facts: when, where, the siblings' birth dates
    FreeText,  // typed freely, so it may name anyone
};

// One line of the results file: the run record's field, how the battery
// writes it, what a results file may hold there, what it means and what it
// tells about who the subject is.
struct ResultLine
{
    QString field;
    QString (*write)(const RunRecord &);
    FieldRule rule;
    FieldMeaning meaning;
    Disclosure disclosure = Disclosure::None;
};

// The 69 lines in file order: the one description from which the battery
// writes its results and the collector checks, names and describes them.
const std::array<ResultLine, resultsLineCount> &resultLines();

// The index (0 for the first line) of the line that holds a field of the
// run record; the field must be one of the table's.
int lineIndex(QAnyStringView field);

// The indexes of the lines that disclose this, in file order.
const QList<int> &linesDisclosing(Disclosure disclosure);
