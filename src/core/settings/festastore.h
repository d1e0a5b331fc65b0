#pragma once

#include <QString>

class Database;

// The festa's own texts, as the ticket texts window stores them.
namespace FestaStore {

// The header printed on the festa's reports; empty when none is stored or the table cannot be read,
// so that a report still prints without it.
QString header(Database& db);

} // namespace FestaStore
