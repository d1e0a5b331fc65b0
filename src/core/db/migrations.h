#pragma once

#include <QString>

class QSqlDatabase;

// The schema's version, kept in the file's user_version: the delivered file of 3.0 is version 0, and
// each file in db/migrations (NNN-name.sql, built into the program) takes a file one version further.
namespace Migrations {

// The version this program writes and reads.
int latest();

// Refuses a file made by a newer program (DbError, before anything is written to it).
void refuseNewer(QSqlDatabase& db, const QString& path);

// Brings an older file to the latest version: every missing migration, in order, and the new version,
// in one transaction (all or nothing).
void apply(QSqlDatabase& db);

// Marks a file just made from the whole schema as of the latest version.
void markLatest(QSqlDatabase& db);

} // namespace Migrations
