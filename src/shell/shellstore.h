#pragma once

#include <QString>

class Tdm;

// The reads of the application shell, each a statement with bound values.
namespace ShellStore {

// q_adm holds the users whose name is exactly `usuario` (letter case included).
void findUser(Tdm& dm, const QString& usuario);

} // namespace ShellStore
