#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "core/payments/reconciliation.h"
#include "core/payments/statement.h"

class Database;

// The statements imported for the reconciliation, their credits and the latest reconciliation's lines.
// Each function raises DbError when the engine refuses; each change is one transaction.
namespace StatementStore {

struct ImportOutcome {
    bool fileKnown = false; // this very file was imported before: nothing added
    int added = 0;          // credits new to the database
    int known = 0;          // credits already there from another statement
};

// Keeps the statement and its credits not yet known, all in one transaction. A credit is known by the
// bank's id when it has one, else by its moment, amount, payer and place among the file's credits of the
// same three; a file by its hash.
ImportOutcome import(Database& db, const Statement& statement, const QString& fileName, const QDateTime& now);

struct StoredCredit {
    qint64 id = 0;
    StatementCredit credit;
};
// Every credit kept, oldest first.
QList<StoredCredit> credits(Database& db);

// Replaces the kept reconciliation with this one (the credits are those of credits()).
void saveResult(Database& db, const QList<Reconciliation::PixSale>& sales, const QList<StoredCredit>& credits,
                const Reconciliation::Result& result, const QDateTime& now);

struct ResultLine {
    QString state; // "conferida", "conferida-txid", "venda-sem-credito", "credito-sem-venda"
    QString desk;
    qint64 till = 0;
    qint64 sale = 0;
    QString txid;
    qint64 cents = 0;
    qint64 creditId = 0; // 0: no credit
};
// The kept reconciliation's lines in the order saved.
QList<ResultLine> result(Database& db);

} // namespace StatementStore
