#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

class Database;

// The till's rows in the database, one small function per operation, every value bound.
// Each raises DbError with the user's message when the engine refuses.
namespace TillStore {

// The till as it stands: open from the opening to the closing, its figures as the windows show them.
struct TillRow {
    bool open = false;
    qint64 number = 0;
    QString responsible;
    QString operatorName;
    QString openDate;  // as shown: 09/12/2026
    QString openTime;  // as shown: 13:00:00
    QString floatText; // the float, exactly as typed
    QString cash;      // money text
    QString withdrawn; // money text
    int withdrawals = 0;
    int ticketsPrinted = 0; // tickets of the sale in progress already handed to the printer
};

// One line of the sale in progress, copied from the product's row when its key was pressed.
struct SaleLine {
    qint64 rowid = -1;
    QString id;
    QString product;
    QString price;    // as configured
    QVariant tickets; // quantidade: tickets this line prints (may be empty)
    QString ticketText;
    QString relation;
};

std::optional<TillRow> readTill(Database& db);
void writeTill(Database& db, const TillRow& till);
void setTicketsPrinted(Database& db, int printed);

// Tickets sold per product key (lower case), as booked.
QHash<QString, qint64> readCounts(Database& db);
void emptyCounts(Database& db);

// The till counter: the number of the last till opened (no value counts as 0).
qint64 readCounter(Database& db);
void writeCounter(Database& db, qint64 value);

void emptyTally(Database& db);

// The product of a key as a new sale line (every value empty when no row has that id).
SaleLine productLine(Database& db, QChar key);
// Product names by key (lower case).
QHash<QString, QString> readNames(Database& db);

QList<SaleLine> readSale(Database& db);
qint64 insertSaleLine(Database& db, const SaleLine& line);
void emptySale(Database& db);
// The sale's lines copied into the tally and their tickets added to the per-product counts.
void bookSale(Database& db);

// The last till backup text, on the backup row (created when the table has none).
void writeBackup(Database& db, const QString& text);

} // namespace TillStore
