#include "datamodule.h"

DataModule::DataModule(const QString& databasePath, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("dm"));
    Database::checkWritableFile(databasePath);
    m_db = std::make_unique<Database>(databasePath);
    m_db->checkWritable(); // before the login: a file that cannot be written ends the program here
    // every default statement reads its whole table, and its rows are written back to that table
    auto make = [this](const char* name, const char* sql, const QStringList& fields) {
        return new Dataset(*m_db, QLatin1String(name), QLatin1String(sql), fields, this);
    };
    q_config = make("q_config", "select * from tbl_produtos",
                    {"produto", "impresso", "valor", "quantidade", "bt", "id", "id_relaciona"});
    q_vendas = make("q_vendas", "select * from tbl_vendas",
                    {"produto", "valor", "quantidade", "impresso", "id", "id_relacionamento"});
    q_cont_vendas = make("q_cont_vendas", "select * from tbl_cont_vendas",
                         {"produto", "valor", "quantidade", "impresso", "id", "id_relacionamento"});
    q_cont = make("q_cont", "select * from tbl_cont", {});
    q_festa = make("q_festa", "select * from tbl_festa", {"cabecalho", "rodape"});
    q_senhas = make("q_senhas", "select * from tbl_senhas", {});
    q_adm = make("q_adm", "select * from tbl_adm", {});
    q_base = make("q_base", "select * from tbl_base", {"id", "ultcaixa"});
    q_caderneta = make("q_caderneta", "select * from tbl_caderneta", {"id", "nome"});
    q_prod_cad = make("q_prod_cad", "select * from tbl_prod_caderneta",
                      {"produto", "valor", "data", "hora", "id_ligacao"});
    // The till tally is never read whole: it may hold a whole festa's sales, and the till's figures
    // are kept apart from it.
    for (Dataset* d : datasets())
        if (d != q_cont_vendas) d->open();
}

DataModule::~DataModule() {
    // datasets go before the connection they use
    qDeleteAll(findChildren<Dataset*>());
    m_db.reset();
}

QList<Dataset*> DataModule::datasets() const {
    return {q_config, q_vendas, q_cont_vendas, q_cont,      q_festa,
            q_senhas, q_adm,    q_base,        q_caderneta, q_prod_cad};
}
