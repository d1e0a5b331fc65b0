#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The rules of the entry fields. One validator per field holds them, so a typed key, a paste and a
// dropped text follow the same path: letters turned to capitals, characters outside the allowed
// set dropped, and at most the field's width in characters, never cutting one in half.
namespace KeyFilter {

// Letters become capitals.
void upperCase(QWidget* edit);

// Only these characters reach the field; Enter too when `enter` is true. Keys that type no
// character (Backspace, arrows, Tab, Delete, shortcuts) pass.
void allowOnly(QWidget* edit, const QString& characters, bool enter);

// Amounts: digits and the comma.
inline void money(QWidget* edit, bool enter) {
    allowOnly(edit, QStringLiteral("0123456789,"), enter);
}
// Counts: digits.
inline void digits(QWidget* edit, bool enter) {
    allowOnly(edit, QStringLiteral("0123456789"), enter);
}

// At most `characters` characters (code points, as the database counts them; 0: no limit). Text
// beyond it is dropped at the cursor, whole characters as the user sees them only.
void limitWidth(QLineEdit* edit, int characters);

// A password field: capitals, one "*" per character.
void password(QLineEdit* edit);

// The rules of a field applied to a text, as a paste into an empty field would apply them.
QString filtered(QWidget* edit, const QString& text);

} // namespace KeyFilter
