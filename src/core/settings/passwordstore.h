#pragma once

#include <QString>
#include <QStringList>

class Database;
class DataModule;

// The look-ups of the passwords, each a statement of its own.
namespace PasswordStore {

// q_senhas holds the rows whose password in `column` ("s_caixa", the till's, or "s_admin", the
// administrator's) is exactly `typed`. Any other column is refused.
void find(DataModule& dm, const QString& column, const QString& typed);

// Every stored till password; raises DbError when the engine refuses.
QStringList tillPasswords(Database& db);

} // namespace PasswordStore
