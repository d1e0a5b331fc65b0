#pragma once

#include <QString>

// Amounts are kept as text with the comma as decimal separator and no grouping.
namespace Money {

// Reads a money text; an empty or malformed text raises ConversionError.
double parse(const QString& text);

// True when parse() would accept the text.
bool isValid(const QString& text);

// Fixed notation with two decimals, after taking the value to 15 significant digits
// and rounding halves away from zero: 2,675 -> "2,68", 0 -> "0,00", -2.5 -> "-2,50".
QString format(double value);

// A count with no decimals, rounded the same way: 12 -> "12".
QString count(double value);

} // namespace Money
