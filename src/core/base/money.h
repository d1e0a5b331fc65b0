#pragma once

// core/base: what every part of the program uses: money in centavos, the clock and the errors.

#include <QString>
#include <QtGlobal>
#include <compare>

// An amount of money as a whole number of centavos: sums and differences are exact, however many.
class Cents {
public:
    constexpr Cents() = default;
    constexpr explicit Cents(qint64 value) : m_value(value) {}
    // A money text read to the cent, halves away from zero ("2,675" is 268); raises ConversionError for
    // a text that is no amount (see Money::parse).
    static Cents parse(const QString& text);
    constexpr qint64 value() const { return m_value; }
    // Fixed notation with two decimals and no grouping: "2,68", "0,00", "-10,00".
    QString text() const;

    constexpr Cents operator+(Cents other) const { return Cents(m_value + other.m_value); }
    constexpr Cents operator-(Cents other) const { return Cents(m_value - other.m_value); }
    constexpr Cents& operator+=(Cents other) {
        m_value += other.m_value;
        return *this;
    }
    constexpr auto operator<=>(const Cents&) const = default;

private:
    qint64 m_value = 0;
};

// Amounts typed, shown and kept in the delivered tables are text with the comma as decimal separator
// and no grouping; the program computes with Cents.
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
