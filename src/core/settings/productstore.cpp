#include "productstore.h"

#include "core/db/datamodule.h"

namespace ProductStore {

void listProducts(DataModule& dm) {
    dm.q_config->setQuery(QStringLiteral("SELECT * FROM tbl_produtos ORDER BY id ASC"),
                          QStringLiteral("tbl_produtos"));
    dm.q_config->open();
}

void listNamedProducts(DataModule& dm) {
    dm.q_config->setQuery(QStringLiteral("select * from tbl_produtos where produto <> '' order by id asc"),
                          QStringLiteral("tbl_produtos"));
    dm.q_config->open();
}

void openCounter(DataModule& dm) {
    dm.q_cont->setQuery(QStringLiteral("SELECT * FROM tbl_cont"), QStringLiteral("tbl_cont"));
    dm.q_cont->open();
}

} // namespace ProductStore
