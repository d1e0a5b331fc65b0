#pragma once

#include <QString>

class DataModule;

// The look-up of the password prompts, a statement with the typed text bound.
namespace PasswordStore {

// q_senhas holds the rows whose password in `column` ("s_caixa", the till's, or "s_admin", the
// administrator's) is exactly `typed`. Any other column is refused.
void find(DataModule& dm, const QString& column, const QString& typed);

} // namespace PasswordStore
