#pragma once

#include <QString>
#include <optional>

// Why a value breaks the rule of its line (index 0 to 68, file order), or
// nothing when it keeps it.
std::optional<QString> fieldProblem(int index, const QString &value);

// Whether a text is a decimal number as the sender's machine wrote it:
// "-12,5", "33.3", "1,5E-7".
bool isDecimalText(const QString &text);

// Its value, or nothing for any other text or a value beyond a double;
// 1,79769313486232E308, how the battery writes the largest double, reads as it.
std::optional<double> parseDecimal(const QString &text);
