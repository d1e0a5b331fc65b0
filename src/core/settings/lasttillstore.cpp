#include "lasttillstore.h"

#include "core/db/database.h"

namespace LastTillStore {

QString text(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT ultcaixa FROM tbl_base ORDER BY rowid LIMIT 1"));
    Database::run(q);
    QString text = q.next() ? q.value(0).toString() : QString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace LastTillStore
