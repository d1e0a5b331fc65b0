#pragma once

#include <QList>
#include <QString>

class Database;

// One version of the festa's catalogue, as the treasurer edits it on the server: every product key's name,
// printed name, price and tickets per unit, and the tickets' header and footer.
struct FestaCatalogue {
    struct Product {
        QString key;     // '0'..'9', 'a'..'j'
        QString name;    // empty: the key sells nothing
        QString printed; // the ticket's text
        QString price;   // money text, "7,50"
        int tickets = 1; // per unit
        friend bool operator==(const Product&, const Product&) = default;
    };
    int version = 0; // 0: none
    QString header;
    QString footer;
    QList<Product> products;

    QString toJson() const;
    static FestaCatalogue fromJson(const QString& json);
    friend bool operator==(const FestaCatalogue&, const FestaCatalogue&) = default;
};

// The catalogue on the desk: downloaded versions wait in the desk file until the till is between two sales.
namespace FestaCatalogueApply {

// Applies the newest downloaded version newer than the one the desk sells with to its products and ticket
// texts, with its journal row, in one transaction; returns that version, or 0 when none waits. Call only
// between two sales (TillModel::betweenSales).
int applyPending(Database& db);

} // namespace FestaCatalogueApply
