#pragma once

#include <QString>
#include <QStringList>

class Database;

// The password row of tbl_senhas, as the administration panel edits it.
struct Passwords {
    QString till;  // s_caixa: withdrawals and the till closing
    QString admin; // s_admin: the administration panel and the credit book's removals and closings
};

// The look-ups and the store of the passwords, each a statement of its own with bound values.
namespace PasswordStore {

// True when some row's password in `column` ("s_caixa", the till's, or "s_admin", the administrator's) is
// exactly `typed` (letter case included). Any other column is refused with DbError.
bool matches(Database& db, const QString& column, const QString& typed);

// The first row's passwords; empty ones when the table has no row.
Passwords passwords(Database& db);

// Stores both passwords, typed or not, in the first row (made when the table has none). A password wider
// than its column is refused with the column's message and nothing is stored.
void save(Database& db, const Passwords& passwords);

// Every stored till password; raises DbError when the engine refuses.
QStringList tillPasswords(Database& db);

} // namespace PasswordStore
