#include "deskjournalrecorder.h"

#include "core/festa/deskjournal.h"

void DeskJournalRecorder::recordOpening(Database& db, const TillStore::TillRow& till) {
    DeskJournal::recordOpening(db, till);
}

void DeskJournalRecorder::recordSale(Database& db, const SaleFacts& sale) {
    DeskJournal::recordSale(db, sale.tillNumber, sale.lines, sale.totalCents, sale.tickets, sale.moment);
}

void DeskJournalRecorder::recordWithdrawal(Database& db, const TillStore::TillRow& till,
                                           const QString& amount) {
    DeskJournal::recordWithdrawal(db, till.number, amount, till.withdrawals);
}

void DeskJournalRecorder::recordClosing(Database& db, const TillStore::TillRow& till,
                                        const ClosingFacts& facts) {
    DeskJournal::recordClosing(db, till, facts.closedBy, facts.closedAt, facts.countedCents);
}

void DeskJournalRecorder::recordReprint(Database& db, const ReprintFacts& reprint) {
    DeskJournal::recordReprint(db, reprint.productId, reprint.product, reprint.ticketText);
}
