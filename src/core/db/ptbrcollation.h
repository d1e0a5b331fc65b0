#pragma once

class QSqlDatabase;

// The order of names as a Brazilian reader expects it ("ÁLVARO" beside "ALVARO", "ÇÃO" beside "CAO"),
// registered on a connection as the collation PTBR. Statements that list names in order name it
// ("ORDER BY nome COLLATE PTBR"); the schema never does, so standard tools keep reading the file.
namespace PtBrCollation {

inline constexpr const char* name = "PTBR";

// False when the connection is not an SQLite one or the engine refused the collation.
bool registerOn(const QSqlDatabase& db);

} // namespace PtBrCollation
