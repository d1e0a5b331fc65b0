#pragma once

// core/creditbook: the customers' accounts and the items charged to them.

#include <QList>
#include <QString>

class Database;

// One account of tbl_caderneta.
struct Account {
    qint64 id = 0; // given by the table
    QString name;  // nome
};

// One item charged to an account (a row of tbl_prod_caderneta), its values as the sheet shows them.
struct ChargedItem {
    qint64 row = -1; // the row's identity, for its removal
    QString product; // produto
    QString price;   // valor, money as text
    QString date;    // data, as 25/12/2026
    QString time;    // hora, as 14:05:33
};

// Every read and write of the credit book, each a statement with bound values.
namespace CreditBookStore {

// Every account in Brazilian name order.
QList<Account> accounts(Database& db);

// The items charged to the account, in the order stored.
QList<ChargedItem> items(Database& db, qint64 accountId);

// Charges one item to an account. Each value is checked against its column (width, date, time) and
// refused with the column's message; nothing is stored then.
void chargeItem(Database& db, qint64 accountId, const QString& produto, const QString& valor,
                const QString& data, const QString& hora);

// Removes one charged item; nothing when it is gone already.
void removeItem(Database& db, qint64 itemRow);

// Opens an account with that name; false (and nothing stored) when an account already has it.
bool openAccount(Database& db, const QString& name);

// Deletes the account and every item charged to it, together or not at all.
void closeAccount(Database& db, qint64 accountId);

} // namespace CreditBookStore
