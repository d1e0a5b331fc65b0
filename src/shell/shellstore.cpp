#include "shellstore.h"

#include "foundation/u_dm.h"

namespace ShellStore {

void findUser(Tdm& dm, const QString& usuario) {
    Dataset* q = dm.q_adm;
    q->setQuery(QStringLiteral("SELECT * FROM tbl_adm WHERE usuario = :usuario"), QStringLiteral("tbl_adm"),
                {{QStringLiteral("usuario"), usuario}});
    q->open();
}

} // namespace ShellStore
