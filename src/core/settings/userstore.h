#pragma once

#include <QString>
#include <optional>

class Database;

// One row of tbl_adm: who may enter the program.
struct User {
    qint64 row = -1;  // the row's identity, kept while its name changes; -1 for none
    QString name;     // usuario
    QString password; // senha
};

// The users, each read or write a statement with bound values.
namespace UserStore {

// The user whose name is exactly `name` (letter case included); none when no row has it.
std::optional<User> find(Database& db, const QString& name);

// The first user stored; none when the table is empty.
std::optional<User> first(Database& db);

// Stores the name and password in the user's row; a user with no row, or whose row is gone, gets a new one
// (its `row` is set then). A text wider than its column is refused with the column's message.
void save(Database& db, User& user);

} // namespace UserStore
