#pragma once

#include <QString>
#include <QStringList>

// SQL scripts (the schema, the seed, each migration): their statements, one by one.
namespace SqlScript {

// The statements of the script in that file or resource, split on semicolons outside string literals,
// comments left out. Raises DbError when it cannot be read.
QStringList statements(const QString& path);

} // namespace SqlScript
