#pragma once

#include "core/till/tillstore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class Database;

// What the closing adds to the till's own figures.
struct ClosingFacts {
    QDateTime closedAt;
    QString closedBy;
    std::optional<qint64> countedCents; // the cash counted, when it was
};

// A booked sale as the till books it.
struct SaleFacts {
    qint64 tillNumber = 0;
    QDateTime moment;
    QList<TillStore::SaleLine> lines; // as sold: key, name, price, tickets
    qint64 totalCents = 0;
    int tickets = 0;
};

// A ticket printed again in place of one whose print job failed.
struct ReprintFacts {
    QString productId;
    QString product;
    QString ticketText;
};

// Keeps rows of its own for the till's steps (the history, the desk's journal). TillModel calls each
// recorder inside the transaction that books the step, so that the step and the recorder's rows exist
// together or not at all; a recorder that raises rolls the step back. The till's rows are not yet
// written when recordSale and recordClosing run (the closing's tally is still there to read) and are
// written when recordOpening and recordWithdrawal run.
class TillRecorder {
public:
    TillRecorder() = default;
    TillRecorder(const TillRecorder&) = delete;
    TillRecorder& operator=(const TillRecorder&) = delete;
    virtual ~TillRecorder() = default;

    // The till as it opened.
    virtual void recordOpening(Database& /*db*/, const TillStore::TillRow& /*till*/) {}
    virtual void recordSale(Database& /*db*/, const SaleFacts& /*sale*/) {}
    // The till after the withdrawal (its count numbers this one).
    virtual void recordWithdrawal(Database& /*db*/, const TillStore::TillRow& /*till*/,
                                  const QString& /*amount*/) {}
    // The till as it closes: its figures before the closing.
    virtual void recordClosing(Database& /*db*/, const TillStore::TillRow& /*till*/,
                               const ClosingFacts& /*facts*/) {}
    virtual void recordReprint(Database& /*db*/, const ReprintFacts& /*reprint*/) {}
};
