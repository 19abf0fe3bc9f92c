#pragma once

#include "core/ResultsFile.h"

#include <QString>
#include <QStringList>
#include <optional>

// What each of the 69 lines of a results file may hold.
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
    QStringList allowed; // the codes; for a decimal, the texts allowed instead of a number
    double minimum = 0;
    double maximum = 0;
};

// The rule of a line, by index 0 to 68 (file order).
const FieldRule &fieldRule(int index);

// Why a value breaks its line's rule, or nothing when it keeps it.
std::optional<QString> fieldProblem(int index, const QString &value);

// Whether a text is a decimal number as the sender's machine wrote it:
// "-12,5", "33.3", "1,5E-7".
bool isDecimalText(const QString &text);

// Its value, or nothing for any other text or a value beyond a double.
std::optional<double> parseDecimal(const QString &text);
