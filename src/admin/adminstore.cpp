#include "adminstore.h"

#include "foundation/u_dm.h"

namespace AdminStore {

void listProducts(Tdm& dm) {
    dm.q_config->setQuery(QStringLiteral("SELECT * FROM tbl_produtos ORDER BY id ASC"),
                          QStringLiteral("tbl_produtos"));
    dm.q_config->open();
}

void openCounter(Tdm& dm) {
    dm.q_cont->setQuery(QStringLiteral("SELECT * FROM tbl_cont"), QStringLiteral("tbl_cont"));
    dm.q_cont->open();
}

} // namespace AdminStore
