#include "historyrecorder.h"

#include "core/history/historystore.h"

void HistoryRecorder::recordSale(Database& db, const SaleFacts& sale) {
    HistoryStore::recordSale(db, sale.tillNumber, sale.moment, sale.totalCents, sale.tickets);
}

void HistoryRecorder::recordClosing(Database& db, const TillStore::TillRow& till, const ClosingFacts& facts) {
    HistoryStore::recordClosing(db, till, facts);
}
