#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// Turns the statements the windows are written in (the Jet dialect) into SQLite:
//  - "delete * from" loses its "*";
//  - double-quoted string literals become single-quoted ones;
//  - like without a wildcard becomes an equality that ignores letter case;
//    with Jet wildcards (* and ?) it becomes a like with % and _.
// Literal values of an "insert into t(cols) values (...)" are taken out as parameters, so the
// database layer can convert and check each one against its column.
namespace JetSql {

enum class Kind { Select, Insert, Update, Delete, Other };

struct Statement {
    Kind kind = Kind::Other;
    QString sql;   // the SQLite text
    QString table; // the one table the statement reads or writes, when there is one
    // insert with literal values only: the column names and the literal values, in order;
    // sql then holds "?" for each value
    QStringList insertColumns;
    QVariantList insertValues;
    bool insertWithLiterals = false;
};

Statement translate(const QString& jet);

// A text as an SQL string literal: in single quotes, each single quote inside doubled.
QString quoted(const QString& text);

} // namespace JetSql
