#include "userstore.h"

#include "core/db/datamodule.h"

namespace UserStore {

void findUser(DataModule& dm, const QString& usuario) {
    Dataset* q = dm.q_adm;
    q->setQuery(QStringLiteral("SELECT * FROM tbl_adm WHERE usuario = :usuario"), QStringLiteral("tbl_adm"),
                {{QStringLiteral("usuario"), usuario}});
    q->open();
}

} // namespace UserStore
