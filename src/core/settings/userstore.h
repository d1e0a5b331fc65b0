#pragma once

#include <QString>

class DataModule;

// The reads of the application shell, each a statement with bound values.
namespace UserStore {

// q_adm holds the users whose name is exactly `usuario` (letter case included).
void findUser(DataModule& dm, const QString& usuario);

} // namespace UserStore
