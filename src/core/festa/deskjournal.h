#pragma once

#include "core/till/tillstore.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

class Database;

// The desk's journal: one row for every step of its till, written inside the transaction that books the
// step, so that a step and its row exist together or not at all. Rows are numbered without gaps (seq)
// and carry a hash of their content, desk and number; the upload sends them to the festa's server,
// which keeps its totals from them. Written whether or not a server is configured, so that a desk's
// steps never depend on the network or its settings. Each function raises DbError when the engine
// refuses, which rolls the step back with its row.
namespace DeskJournal {

// The step kinds as stored ("tipo").
inline const QString opening = QStringLiteral("abertura");
inline const QString sale = QStringLiteral("venda");
inline const QString withdrawal = QStringLiteral("sangria");
inline const QString closing = QStringLiteral("fechamento");
inline const QString reprint = QStringLiteral("reimpressao");
inline const QString catalogue = QStringLiteral("catalogo");
inline const QString snapshot = QStringLiteral("adesao");

// The content as hashed and sent: compact JSON with its keys in order.
QByteArray canonical(const QJsonObject& content);
// SHA-256, in hex, of "desk:seq:content".
QString hash(const QString& deskId, qint64 seq, const QByteArray& content);

// Appends a row of that kind; `content` gets the kind and the moment. Returns its seq.
qint64 append(Database& db, const QString& kind, QJsonObject content, const QDateTime& at = QDateTime());

void recordOpening(Database& db, const TillStore::TillRow& till);
// A booked sale: its lines as sold (key, name, price, tickets), its total and tickets.
void recordSale(Database& db, qint64 tillNumber, const QList<TillStore::SaleLine>& lines, qint64 totalCents,
                int tickets, const QDateTime& at);
void recordWithdrawal(Database& db, qint64 tillNumber, const QString& amount, int count);
// The till as it closes (its figures before the closing), with the cash counted when it was.
void recordClosing(Database& db, const TillStore::TillRow& till, const QString& closedBy, const QDateTime& at,
                   std::optional<qint64> countedCents);
void recordReprint(Database& db, const QString& productId, const QString& product, const QString& ticketText);
void recordCatalogue(Database& db, int version);
// What a desk sends first when it joins a festa: its open till as it stands (figures and what it sold
// so far, per product), or that no till is open. Returns its seq.
qint64 recordSnapshot(Database& db);

// The desk takes the identity `deskId` from row `fromSeq` on (a copy the treasurer did not keep under
// the old one): those rows hashed again under it, its report starting there. One transaction.
void takeIdentity(Database& db, const QString& deskId, qint64 fromSeq);

// Journal rows not yet acknowledged by the server (0 before the desk joined a festa).
qint64 waiting(Database& db);

} // namespace DeskJournal
