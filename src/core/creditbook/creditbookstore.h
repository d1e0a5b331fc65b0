#pragma once

// core/creditbook: the customers' accounts and the items charged to them.

#include <QString>

class DataModule;

// Every read and write of the credit book, each a statement with bound values.
namespace CreditBookStore {

// q_caderneta lists every account in Brazilian name order.
void listAccounts(DataModule& dm);

// q_prod_cad lists the items charged to the account with that id (its text as shown); none for an
// empty id. Raises when the id is not a number.
void listItems(DataModule& dm, const QString& accountId);

// Charges one item to an account. Each value is checked against its column (width, date, time) and
// refused with the column's message; nothing is stored then.
void chargeItem(DataModule& dm, const QString& accountId, const QString& produto, const QString& valor,
                const QString& data, const QString& hora);

// Opens an account with that name; false (and nothing stored) when an account already has it.
bool openAccount(DataModule& dm, const QString& name);

// Deletes the account and every item charged to it, together or not at all.
void closeAccount(DataModule& dm, const QString& accountId);

} // namespace CreditBookStore
