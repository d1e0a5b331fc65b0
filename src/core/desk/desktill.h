#pragma once

// core/desk: the till of this cash desk, its recorders wired.

#include "core/festa/deskjournalrecorder.h"
#include "core/history/historyrecorder.h"
#include "core/till/tillmodel.h"

// The desk's till: every step also kept in the history and written to the desk's journal, in that
// order, inside the step's transaction. The journal is written whether or not a festa server is set up.
class DeskTill : public TillModel {
    Q_OBJECT
public:
    explicit DeskTill(Database& db, QObject* parent = nullptr);

private:
    HistoryRecorder m_history;
    DeskJournalRecorder m_journal;
};
