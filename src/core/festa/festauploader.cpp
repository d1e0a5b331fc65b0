#include "festauploader.h"

#include "core/base/crashpoint.h"
#include "core/db/database.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festajournalstore.h"
#include "core/festa/festaserverstore.h"
#include "core/till/tillstore.h"

#include <QSqlError>
#include <QTimer>
#include <QUuid>

#include <atomic>

QString festaStatusLine(const FestaUploadState& s, const QDateTime& now) {
    if (!s.stopped.isEmpty()) return QStringLiteral("Festa: ENVIO PARADO — ") + s.stopped;
    const QString rows = s.waiting == 1 ? QStringLiteral("1 registro a enviar")
                                        : QStringLiteral("%1 registros a enviar").arg(s.waiting);
    if (s.connected)
        return s.waiting == 0 ? QStringLiteral("Festa: em dia") : QStringLiteral("Festa: ") + rows;
    QString why;
    if (s.lastContact.isValid()) {
        const qint64 seconds = std::max<qint64>(0, s.lastContact.secsTo(now));
        const QString since = seconds < 60     ? QStringLiteral("%1 s").arg(seconds)
                              : seconds < 7200 ? QStringLiteral("%1 min").arg(seconds / 60)
                                               : QStringLiteral("%1 h").arg(seconds / 3600);
        why = QStringLiteral("servidor sem resposta há ") + since;
    } else {
        why = s.problem.isEmpty() ? QStringLiteral("conectando ao servidor") : s.problem;
    }
    return QStringLiteral("Festa: ") + (s.waiting == 0 ? QStringLiteral("em dia") : rows) +
           QStringLiteral(" — ") + why;
}

QString festaCopyStop() {
    return QStringLiteral("há outra cópia deste caixa. Chame a tesouraria.");
}

// Lives on the uploader's thread: everything it touches (the desk file's connection, the server's) is
// made, used and closed there.
class FestaUploader::Worker : public QObject {
    // While alive, an exchange with the server may be under way (the desk tells a silent server by it).
    class Attempt {
    public:
        explicit Attempt(FestaUploader& owner) : m_owner(owner) {
            m_owner.m_attemptSince = QDateTime::currentMSecsSinceEpoch();
        }
        ~Attempt() { m_owner.m_attemptSince = 0; }
        Attempt(const Attempt&) = delete;
        Attempt& operator=(const Attempt&) = delete;

    private:
        FestaUploader& m_owner;
    };

public:
    Worker(FestaUploader& owner, QString file, FestaSettings settings, Timing timing)
        : m_owner(owner), m_file(std::move(file)), m_settings(std::move(settings)), m_timing(timing) {}

    void begin() {
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] { cycle(); });
        m_session = std::make_unique<FestaSession>(
            QStringLiteral("festa-envio-%1").arg(QUuid::createUuid().toString(QUuid::Id128)),
            FestaTarget::desk(m_settings), m_timing.stallMs);
        m_live = m_session.get();
        m_state = m_owner.state();
        cycle();
    }

    void end() {
        delete m_timer;
        m_timer = nullptr;
        m_live = nullptr;
        m_session.reset();
        m_db.reset();
    }

    void wake() {
        if (m_timer && m_retryMs == 0 && m_session && m_session->isOpen()) m_timer->start(0);
    }

    // The connection a statement may be under way on, for the owner to cut it from its thread.
    std::atomic<FestaSession*> m_live{nullptr};

private:
    Database& local() {
        if (!m_db) m_db = std::make_unique<Database>(m_file);
        return *m_db;
    }

    void cycle() {
        const Attempt attempt(m_owner);
        int next = m_timing.pollMs;
        try {
            FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
            m_state.stopped = desk.stopped;
            m_state.catalogue = desk.catalogue;
            m_state.waiting = DeskJournal::waiting(local());
            if (!m_session->isOpen()) {
                const QString problem = m_session->open();
                if (!problem.isEmpty()) {
                    fail(problem);
                    return;
                }
                m_position = 0;
            }
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            // Another desk with this identity stops this one; the treasurer's choice lets it go on.
            if (!desk.stopped.isEmpty() || now - m_lastClaimCheck >= m_timing.heartbeatMs) {
                m_lastClaimCheck = now;
                checkClaims();
                desk = FestaJournalStore::desk(local());
                m_state.stopped = desk.stopped;
                m_state.waiting = DeskJournal::waiting(local());
            }
            if (!desk.stopped.isEmpty()) {
                whileStopped(desk);
                m_retryMs = 0;
                m_state.connected = false;
                m_state.problem.clear();
                publish();
                m_timer->start(m_timing.heartbeatMs);
                return;
            }
            if (m_position == 0) m_position = startingPoint();
            const bool full = sendBatch();
            if (m_state.stopped.isEmpty() && (full || now - m_lastBeat >= m_timing.heartbeatMs || m_sent)) {
                beat();
                if (now - m_lastCatalogueCheck >= m_timing.heartbeatMs) checkCatalogue();
            }
            m_retryMs = 0;
            m_state.connected = m_state.stopped.isEmpty();
            m_state.problem.clear();
            if (full) next = 0;
        } catch (const AppError& e) {
            fail(e.text());
            return;
        }
        publish();
        m_timer->start(m_state.stopped.isEmpty() ? next : m_timing.heartbeatMs);
    }

    // Which of this identity's claims concern this desk: its branch in each is the copy's when its own row
    // at the claim's seq has the claim's hash, the server's otherwise. A claim not settled stops the desk;
    // a settled one it lost gives it the new identity; none left open lets a stopped desk go on.
    void checkClaims() {
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
        QSqlDatabase pg = m_session->db();
        const FestaSession::Watch watch(*m_session);
        const QList<FestaServerStore::Claim> claims = FestaServerStore::claims(pg, desk.deskId);
        m_claim.reset();
        for (const FestaServerStore::Claim& c : claims) {
            if (!c.winner.isEmpty()) continue;
            m_claim = c;
            m_claimCopy = FestaJournalStore::hashAt(local(), c.seq) == c.hash;
            if (desk.stopped.isEmpty()) {
                FestaJournalStore::setStopped(local(), festaCopyStop());
                m_position = 0;
                emit m_owner.stopped(festaCopyStop());
            }
            return;
        }
        for (const FestaServerStore::Claim& c : claims) {
            const bool copy = FestaJournalStore::hashAt(local(), c.seq) == c.hash;
            if ((c.winner == QLatin1String("copia")) == copy || c.newId.isEmpty()) continue;
            DeskJournal::takeIdentity(local(), c.newId, c.seq);
            m_position = 0;
            return;
        }
        if (!desk.stopped.isEmpty()) {
            FestaJournalStore::setStopped(local(), QStringLiteral(""));
            m_position = 0;
        }
    }

    // A stopped desk goes on telling the server what it books, held apart from the totals, and that it
    // is alive.
    void whileStopped(const FestaJournalStore::Desk& desk) {
        if (!m_claim) return;
        QSqlDatabase pg = m_session->db();
        const FestaSession::Watch watch(*m_session);
        const QString branch = m_claimCopy ? m_claim->hash : QString();
        qint64 from = FestaServerStore::heldUpTo(pg, desk.deskId, branch) + 1;
        if (m_claimCopy) {
            from = std::max(from, m_claim->seq);
        } else {
            from = std::max(from, FestaServerStore::lastSeq(pg, desk.deskId).value_or(0) + 1);
        }
        const QList<FestaJournalStore::Row> rows = FestaJournalStore::rows(local(), from, m_timing.batchRows);
        if (!rows.isEmpty()) FestaServerStore::hold(pg, desk.deskId, branch, rows);
        if (m_claimCopy)
            FestaServerStore::copyHeartbeat(pg, desk.deskId, *m_claim, m_settings.deskName,
                                            DeskJournal::waiting(local()));
        else
            beat();
        m_state.lastContact = QDateTime::currentDateTime();
    }

    void fail(const QString& problem) {
        m_session->close();
        m_position = 0;
        m_state.connected = false;
        m_state.problem = problem;
        try {
            if (m_db) m_state.waiting = DeskJournal::waiting(*m_db);
        } catch (const AppError&) {
        }
        publish();
        m_retryMs = m_retryMs == 0 ? m_timing.retryMs : std::min(m_retryMs * 2, m_timing.maxRetryMs);
        m_timer->start(m_retryMs);
    }

    // Where sending starts on a new connection: the desk joins the server's festa when it has not yet (a
    // snapshot of its till first), then goes on after the last row both sides agree the server has.
    qint64 startingPoint() {
        QSqlDatabase pg = m_session->db();
        const FestaSession::Watch watch(*m_session);
        const QString festa = FestaServerStore::festaId(pg);
        FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
        if (desk.festaId != festa) {
            local().transaction([&] {
                desk = FestaJournalStore::desk(local());
                if (desk.festaId.isEmpty() && desk.firstSeq > 0) {
                    FestaJournalStore::setFesta(local(), festa); // joined before its first contact
                } else if (desk.festaId != festa) {
                    FestaJournalStore::join(local(), festa, DeskJournal::recordSnapshot(local()));
                }
            });
            desk = FestaJournalStore::desk(local());
        }
        const std::optional<qint64> onServer = FestaServerStore::lastSeq(pg, desk.deskId);
        if (!onServer) return desk.firstSeq;
        // Rows the server committed but the desk never heard of are sent again and compared by hash.
        return std::max(desk.firstSeq, std::min(desk.acknowledged, *onServer) + 1);
    }

    // Sends one batch; true when more rows wait after it.
    bool sendBatch() {
        m_sent = false;
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
        const QList<FestaJournalStore::Row> rows =
            FestaJournalStore::rows(local(), m_position, m_timing.batchRows);
        if (rows.isEmpty()) return false;
        CrashPoint::hit("festa", "lido");
        QSqlDatabase pg = m_session->db();
        {
            const FestaSession::Watch watch(*m_session);
            if (!pg.transaction()) throw ServerError(pg.lastError().text());
            QSet<qint64> inserted;
            try {
                for (qsizetype i = 0; i < rows.size(); i += m_timing.chunkRows) {
                    if (i > 0) CrashPoint::hit("festa", "lote");
                    inserted += FestaServerStore::insert(pg, desk.deskId, rows.mid(i, m_timing.chunkRows));
                }
                if (inserted.size() < rows.size()) {
                    const QHash<qint64, QString> held = FestaServerStore::hashes(
                        pg, desk.deskId, rows.constFirst().seq, rows.constLast().seq);
                    for (const FestaJournalStore::Row& r : rows) {
                        if (inserted.contains(r.seq) || held.value(r.seq) == r.hash) continue;
                        pg.rollback();
                        stop(r.seq);
                        return false;
                    }
                }
            } catch (...) {
                pg.rollback();
                throw;
            }
            if (!pg.commit()) throw ServerError(pg.lastError().text());
        }
        CrashPoint::hit("festa", "confirmado");
        FestaJournalStore::setAcknowledged(local(), rows.constLast().seq);
        m_position = rows.constLast().seq + 1;
        m_state.acknowledged = rows.constLast().seq;
        m_state.waiting = DeskJournal::waiting(local());
        m_state.lastContact = QDateTime::currentDateTime();
        m_sent = true;
        return rows.size() == m_timing.batchRows;
    }

    // The server holds row `seq` with another content: this desk is a copy of the one the server heard
    // first. Recorded on the server (which stops the other desk too) before it stops here.
    void stop(qint64 seq) {
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
        FestaServerStore::Claim claim;
        claim.seq = seq;
        claim.hash = FestaJournalStore::hashAt(local(), seq);
        {
            QSqlDatabase pg = m_session->db();
            const FestaSession::Watch watch(*m_session);
            FestaServerStore::registerCopy(pg, desk.deskId, claim, m_settings.deskName);
        }
        FestaJournalStore::setStopped(local(), festaCopyStop());
        m_claim = claim;
        m_claimCopy = true;
        m_position = 0;
        m_state.stopped = festaCopyStop();
        m_state.connected = false;
        publish();
        emit m_owner.stopped(festaCopyStop());
    }

    void beat() {
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(local());
        const std::optional<TillStore::TillRow> till = TillStore::readTill(local());
        QSqlDatabase pg = m_session->db();
        const FestaSession::Watch watch(*m_session);
        FestaServerStore::heartbeat(pg, {desk.deskId, m_settings.deskName, DeskJournal::waiting(local()),
                                         till && till->open, desk.stopped});
        m_lastBeat = QDateTime::currentMSecsSinceEpoch();
        m_state.lastContact = QDateTime::currentDateTime();
    }

    void checkCatalogue() {
        m_lastCatalogueCheck = QDateTime::currentMSecsSinceEpoch();
        QSqlDatabase pg = m_session->db();
        const FestaSession::Watch watch(*m_session);
        const int newest = FestaServerStore::newestCatalogue(pg);
        const int have = std::max(FestaJournalStore::desk(local()).catalogue,
                                  FestaJournalStore::newestCatalogue(local()).first);
        if (newest <= have) return;
        const FestaCatalogue c = FestaServerStore::catalogue(pg, newest);
        if (c.version == 0) return;
        FestaJournalStore::storeCatalogue(local(), c.version, c.toJson());
        emit m_owner.catalogueDownloaded(c.version);
    }

    void publish() { m_owner.publish(m_state); }

    FestaUploader& m_owner;
    QString m_file;
    FestaSettings m_settings;
    Timing m_timing;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<FestaSession> m_session;
    QTimer* m_timer = nullptr;
    FestaUploadState m_state;
    qint64 m_position = 0; // the next seq to send on this connection (0: not known yet)
    int m_retryMs = 0;
    qint64 m_lastBeat = 0;
    qint64 m_lastCatalogueCheck = 0;
    qint64 m_lastClaimCheck = 0;
    bool m_sent = false;
    std::optional<FestaServerStore::Claim> m_claim; // the open claim on this desk's identity, if any
    bool m_claimCopy = false;                       // this desk is its copy (not the server's branch)
};

FestaUploader::FestaUploader(const QString& deskFile, const FestaSettings& settings, const Timing& timing,
                             QObject* parent)
    : QObject(parent) {
    m_thread.setObjectName(QStringLiteral("festa-envio"));
    m_worker = new Worker(*this, deskFile, settings, timing);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
}

FestaUploader::~FestaUploader() {
    if (m_thread.isRunning()) {
        if (FestaSession* s = m_worker->m_live) s->cut(); // a statement under way ends now
        QMetaObject::invokeMethod(
            m_worker, [w = m_worker] { w->end(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    } else {
        delete m_worker;
    }
}

void FestaUploader::start() {
    if (m_thread.isRunning()) return;
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->begin(); }, Qt::QueuedConnection);
}

void FestaUploader::wake() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->wake(); }, Qt::QueuedConnection);
}

FestaUploadState FestaUploader::state() const {
    QMutexLocker lock(&m_mutex);
    FestaUploadState s = m_state;
    if (const qint64 since = m_attemptSince; since > 0)
        s.attemptSince = QDateTime::fromMSecsSinceEpoch(since);
    return s;
}

void FestaUploader::publish(const FestaUploadState& state) {
    {
        QMutexLocker lock(&m_mutex);
        m_state = state;
    }
    emit stateChanged();
}
