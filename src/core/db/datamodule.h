#pragma once

#include <QObject>
#include <memory>

#include "database.h"
#include "dataset.h"

// The data module: the one way into the database. One dataset per table, each opened with its
// default statement when the module is created.
class DataModule : public QObject {
    Q_OBJECT
public:
    explicit DataModule(const QString& databasePath, QObject* parent = nullptr); // raises DbError
    ~DataModule() override;

    Database& database() { return *m_db; }

    Dataset* q_config = nullptr;
    Dataset* q_vendas = nullptr;
    Dataset* q_cont_vendas = nullptr;
    Dataset* q_cont = nullptr;
    Dataset* q_festa = nullptr;
    Dataset* q_senhas = nullptr;
    Dataset* q_adm = nullptr;
    Dataset* q_base = nullptr;
    Dataset* q_caderneta = nullptr;
    Dataset* q_prod_cad = nullptr;

    QList<Dataset*> datasets() const;

private:
    std::unique_ptr<Database> m_db;
};
