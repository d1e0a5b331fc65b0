#pragma once

#include <QString>

class QSqlError;

// The one place where an error of the database engine becomes the message the user reads: what
// happened and what to do about it, in Portuguese, with the engine's own text in parentheses.
namespace EngineError {

enum class Kind { Busy, ReadOnly, Full, Damaged, CannotOpen, MissingTable, Refused, Other };

Kind kindOf(const QSqlError& error);
QString message(const QSqlError& error);
[[noreturn]] void raise(const QSqlError& error); // raises DbError with message()

} // namespace EngineError
