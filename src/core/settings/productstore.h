#pragma once

// core/settings: products, the till counter, ticket texts, passwords and users, as the administration edits
// them.

#include <QChar>
#include <QList>
#include <QString>

class Database;

// One product key's row of tbl_produtos, each value as the entries show it: the number of tickets stays
// text because an emptied "Fichas" is stored as no value.
struct Product {
    QChar key;          // id: the key that sells it
    QString name;       // produto
    QString ticketText; // impresso
    QString price;      // valor, money as text
    QString tickets;    // quantidade
};

// The products and the till counter, each read or write a statement with bound values.
namespace ProductStore {

// The twenty products, named or not, in key order.
QList<Product> products(Database& db);

// The products that have a name, in key order: the sales screen's product list.
QList<Product> namedProducts(Database& db);

// Stores the product's name, ticket text, price and number of tickets in its key's row. Each value is
// checked against its column (width, whole number) and refused with the column's message.
void save(Database& db, const Product& product);

// The number of the last till opened (tbl_cont.cont), as text; empty when none is stored.
QString tillCounter(Database& db);
// Stores the till counter; an empty text is stored as no value, text that is no whole number is refused.
void saveTillCounter(Database& db, const QString& counter);

} // namespace ProductStore
