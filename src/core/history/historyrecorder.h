#pragma once

#include "core/till/tillrecorder.h"

// Keeps the festa's history as the till books it: every sale with its moment, every closed till with
// its figures and what it sold (HistoryStore).
class HistoryRecorder : public TillRecorder {
public:
    void recordSale(Database& db, const SaleFacts& sale) override;
    // Reads the till's tally, which the closing empties after it.
    void recordClosing(Database& db, const TillStore::TillRow& till, const ClosingFacts& facts) override;
};
