#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Key filters of the entry fields, one character at a time.
namespace KeyFilter {

// Letters typed become capitals.
void upperCase(QWidget* edit);

// Only these characters and Backspace reach the field; Enter too when `enter` is true.
// Keys that type no character (arrows, Tab, Delete) pass.
void allowOnly(QWidget* edit, const QString& characters, bool enter);

// Amounts: digits, the comma and Backspace.
inline void money(QWidget* edit, bool enter) {
    allowOnly(edit, QStringLiteral("0123456789,"), enter);
}
// Counts: digits and Backspace.
inline void digits(QWidget* edit, bool enter) {
    allowOnly(edit, QStringLiteral("0123456789"), enter);
}

// A password field: capitals, one "*" per character.
void password(QLineEdit* edit);

} // namespace KeyFilter
