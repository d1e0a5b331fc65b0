#include "festastore.h"

#include "core/db/database.h"

#include <QSqlQuery>

namespace FestaStore {

QString header(Database& db) {
    QSqlQuery q(db.handle());
    q.prepare(QStringLiteral("SELECT cabecalho FROM tbl_festa LIMIT 1"));
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

} // namespace FestaStore
