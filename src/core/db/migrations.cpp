#include "migrations.h"

#include "core/base/errors.h"
#include "core/db/engineerror.h"
#include "core/db/sqlscript.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace Migrations {

namespace {

// In order: the file at index i takes version i to version i + 1.
const QStringList& files() {
    static const QStringList list = {QStringLiteral(":/db/migrations/001-till-history-and-print-jobs.sql"),
                                     QStringLiteral(":/db/migrations/002-print-journal.sql"),
                                     QStringLiteral(":/db/migrations/003-festa-journal.sql"),
                                     QStringLiteral(":/db/migrations/004-print-journal-sending.sql"),
                                     QStringLiteral(":/db/migrations/005-pix-statements.sql")};
    return list;
}

void run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) throw DbError(EngineError::message(q.lastError()));
}

int version(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        throw DbError(EngineError::message(q.lastError()));
    return q.value(0).toInt();
}

} // namespace

int latest() {
    return int(files().size());
}

void refuseNewer(QSqlDatabase& db, const QString& path) {
    const int v = version(db);
    if (v > latest())
        throw DbError(QStringLiteral("A base de dados '%1' foi gravada por uma versão mais nova do programa "
                                     "(esquema %2; este programa conhece até o %3). Ela não foi alterada: "
                                     "use a versão do programa que a gravou.")
                          .arg(path)
                          .arg(v)
                          .arg(latest()));
}

void apply(QSqlDatabase& db) {
    const int from = version(db);
    if (from >= latest()) return;
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        for (int i = from; i < latest(); ++i)
            for (const QString& st : SqlScript::statements(files().at(i)))
                run(db, st);
        markLatest(db);
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void markLatest(QSqlDatabase& db) {
    run(db, QStringLiteral("PRAGMA user_version = %1").arg(latest()));
}

} // namespace Migrations
