#include "desktill.h"

DeskTill::DeskTill(Database& db, QObject* parent) : TillModel(db, parent) {
    addRecorder(m_history);
    addRecorder(m_journal);
}
