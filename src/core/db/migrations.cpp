#include "migrations.h"

#include "core/base/errors.h"
#include "core/db/engineerror.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace Migrations {

namespace {

// In order: the file at index i takes version i to version i + 1.
const QStringList& files() {
    static const QStringList list = {QStringLiteral(":/db/migrations/001-till-history-and-print-jobs.sql")};
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

// A script's statements, split at each ';' (the scripts keep ';' out of comments and texts).
QStringList statements(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw DbError(QStringLiteral("Não foi possível ler %1.").arg(path));
    QStringList out;
    for (const QString& part : QString::fromUtf8(f.readAll()).split(QLatin1Char(';'))) {
        QStringList code;
        for (const QString& line : part.split(QLatin1Char('\n')))
            if (!line.trimmed().startsWith(QLatin1String("--"))) code << line;
        if (!code.join(QString()).trimmed().isEmpty()) out << code.join(QLatin1Char('\n')).trimmed();
    }
    return out;
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
            for (const QString& st : statements(files().at(i)))
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
