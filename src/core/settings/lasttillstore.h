#pragma once

#include <QString>

class Database;

// The last till backup as the administration shows it: the text on the backup row of tbl_base.
namespace LastTillStore {

// The stored text with its lines ending LF (stored lines end CR LF); empty when the table has no row.
QString text(Database& db);

} // namespace LastTillStore
