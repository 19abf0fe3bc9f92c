#pragma once

#include <QString>
#include <array>

constexpr int siblingRowCount = 10;

enum class SiblingSex { None, Sister, Brother };

// What the subject entered in one row of the siblings window: the sex chosen
// and the day, month and year fields exactly as typed.
struct SiblingRow
{
    SiblingSex sex = SiblingSex::None;
    QString day;
    QString month;
    QString year;
};

using SiblingRows = std::array<SiblingRow, siblingRowCount>;

// "" when no sex is chosen, else "сестра" or "брат".
QString siblingSexWord(SiblingSex sex);

// The row as the results file describes it: the sex word, followed by
// ", день: " day ", месяц: " month ", год: " year when a sex and a year are given.
QString siblingDescription(const SiblingRow &row);

// The subject's place by birth among the siblings and the three counts.
struct SiblingSummary
{
    std::array<QString, siblingRowCount> descriptions;
    int birthOrder = 1;     // 1 + siblings born before the subject
    int withYearCount = 0;  // sex and year given
    int sameMonthCount = 0; // born in the subject's year and month
    int withoutYearCount = 0; // sex given, no year
};

// Everything from the row inputs alone, so a repeated press gives the same
// result. Day, month and year are read as the subject's are: digits only, a
// year of one or two digits within the last hundred years. Throws Failure
// when a given year is not one, when a day or month given with a year is
// not one, or when a sibling born in the subject's year has no month. Days
// are never compared: a sibling of the subject's year and month is not older.
SiblingSummary summarizeSiblings(const SiblingRows &rows, int subjectYear, int subjectMonth);
