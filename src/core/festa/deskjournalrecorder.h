#pragma once

#include "core/till/tillrecorder.h"

// Writes the desk's journal row of every till step (DeskJournal), whether or not a festa server is
// configured.
class DeskJournalRecorder : public TillRecorder {
public:
    void recordOpening(Database& db, const TillStore::TillRow& till) override;
    void recordSale(Database& db, const SaleFacts& sale) override;
    void recordWithdrawal(Database& db, const TillStore::TillRow& till, const QString& amount) override;
    void recordClosing(Database& db, const TillStore::TillRow& till, const ClosingFacts& facts) override;
    void recordReprint(Database& db, const ReprintFacts& reprint) override;
};
