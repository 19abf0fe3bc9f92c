#pragma once

#include <QString>
#include <optional>
#include <string_view>

// A double in the general format with at most 15 significant digits: no
// grouping, the regional decimal separator, no trailing zeros, no separator
// for whole values, and the exponent form ("1E15", "1,5E-7") only for values
// of more than 15 whole digits or below 0.0001 in magnitude.
QString formatGeneral(double value);

// A typed real: optional blanks, optional sign, digits with at most one
// regional decimal separator (at least a digit or the separator after the
// sign), an optional exponent (E or e, optional sign, digits; no digits means
// 0), optional blanks. Nothing for any other text or a value beyond a double;
// 1.79769313486232E308, how the largest double is written, reads as it.
std::optional<double> parseReal(const QString &text);

// A number in C notation, a sign, digits with a point and an exponent:
// "-12.5", "1.5e-7", "-0.e0". Beyond the range of a double, what the
// general format writes for the largest double reads as it, a number too
// small for a double reads as zero, and a larger one is nothing.
std::optional<double> readCNotation(std::string_view text);

// A typed 32-bit signed decimal integer: optional leading blanks, optional
// sign, digits and nothing after them.
std::optional<int> parseInteger(const QString &text);

// A non-negative value to a whole number, halves up: truncate(x + 0.5).
double roundHalfUp(double value);
