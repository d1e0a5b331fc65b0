#include "festadesk.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festacatalogue.h"
#include "core/festa/festajournalstore.h"
#include "core/till/tillmodel.h"

#include <algorithm>

FestaDesk::FestaDesk(Database& db, TillModel& till, const FestaSettings& settings,
                     const FestaUploader::Timing& timing, QObject* parent)
    : QObject(parent), m_db(db), m_till(till), m_uploader(db.path(), settings, timing), m_timing(timing) {
    setObjectName(QStringLiteral("festa"));
    // The desk joins at the moment it is pointed at a festa: what its open till holds now is reported
    // as one snapshot row, and every step after it row by row.
    db.transaction([&] {
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(db);
        if (desk.firstSeq == 0) FestaJournalStore::join(db, QString(), DeskJournal::recordSnapshot(db));
    });
    connect(&m_uploader, &FestaUploader::stateChanged, this, &FestaDesk::stateChanged);
    connect(&m_uploader, &FestaUploader::stopped, this, &FestaDesk::stopped);
    connect(&m_uploader, &FestaUploader::catalogueDownloaded, this, &FestaDesk::catalogueWaiting);
    connect(&till, &TillModel::changed, &m_uploader, &FestaUploader::wake);
    connect(&till, &TillModel::changed, this, &FestaDesk::applyCatalogue);
    connect(&till, &TillModel::saleReset, this, &FestaDesk::applyCatalogue);
    connect(&till, &TillModel::changed, this, &FestaDesk::stateChanged); // the rows waiting, at once
    m_watch.setInterval(std::clamp(m_timing.slowMs / 4, 20, 250));
    connect(&m_watch, &QTimer::timeout, this, &FestaDesk::watch);
    m_watch.start();
    m_clock.setInterval(15000);
    connect(&m_clock, &QTimer::timeout, this, &FestaDesk::stateChanged);
    m_clock.start();
    m_catalogueWaiting = FestaJournalStore::newestCatalogue(db).first != 0;
    m_uploader.start();
}

FestaUploadState FestaDesk::state() const {
    FestaUploadState s = m_uploader.state();
    try {
        s.waiting = DeskJournal::waiting(m_db);
    } catch (const DbError&) { // the upload's own count, as of its last look
    }
    if (s.stopped.isEmpty() && s.attemptSince.isValid() &&
        s.attemptSince.msecsTo(QDateTime::currentDateTime()) > m_timing.slowMs) {
        s.connected = false;
        if (!s.lastContact.isValid() && s.problem.isEmpty())
            s.problem = QStringLiteral("servidor sem resposta");
    }
    return s;
}

bool FestaDesk::silent() const {
    const FestaUploadState s = m_uploader.state();
    return s.attemptSince.isValid() && s.attemptSince.msecsTo(QDateTime::currentDateTime()) > m_timing.slowMs;
}

void FestaDesk::watch() {
    if (const bool now = silent(); now != m_silent) {
        m_silent = now;
        emit stateChanged();
    }
}

QString FestaDesk::statusLine() const {
    return festaStatusLine(state(), Clock::now());
}

void FestaDesk::catalogueWaiting() {
    m_catalogueWaiting = true;
    applyCatalogue();
}

int FestaDesk::applyCatalogue() {
    if (!m_catalogueWaiting || !m_till.betweenSales()) return 0;
    m_catalogueWaiting = false;
    int version = 0;
    try {
        version = FestaCatalogueApply::applyPending(m_db);
    } catch (const DbError&) { // tried again after the next sale
        m_catalogueWaiting = true;
        return 0;
    }
    if (version == 0) return 0;
    m_till.loadNames();
    m_uploader.wake();
    emit catalogueApplied(version);
    return version;
}
