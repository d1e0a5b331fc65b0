#pragma once

#include <QString>

// Amounts are kept as text with the comma as decimal separator and no grouping.
namespace Money {

// Reads a money text; an empty or malformed text raises ConversionError, and so does an amount that
// cannot be kept exactly to the cent: more than 15 significant digits (counted to the units at least,
// "1E20" has 21) or a value out of range.
double parse(const QString& text);

// True exactly when parse() accepts the text.
bool isValid(const QString& text);

// Fixed notation with two decimals, after taking the value to 15 significant digits
// and rounding halves away from zero: 2,675 -> "2,68", 0 -> "0,00", -2.5 -> "-2,50".
QString format(double value);

// A count with no decimals, rounded the same way: 12 -> "12".
QString count(double value);

} // namespace Money
