#include "festapanel.h"

#include <QPointer>
#include <QUuid>

class FestaPanelModel::Worker : public QObject {
public:
    explicit Worker(FestaTarget target) : m_target(std::move(target)) {}

    // Empty when the connection is open.
    QString ensureOpen() {
        if (!m_session)
            m_session = std::make_unique<FestaSession>(
                QStringLiteral("festa-painel-%1").arg(QUuid::createUuid().toString(QUuid::Id128)), m_target);
        return m_session->isOpen() ? QString() : m_session->open();
    }
    FestaSession& session() { return *m_session; }
    void end() { m_session.reset(); }

private:
    FestaTarget m_target;
    std::unique_ptr<FestaSession> m_session;
};

FestaPanelModel::FestaPanelModel(const FestaTarget& treasurer, QObject* parent) : QObject(parent) {
    m_thread.setObjectName(QStringLiteral("festa-painel"));
    m_worker = new Worker(treasurer);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

FestaPanelModel::~FestaPanelModel() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->end(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void FestaPanelModel::post(std::function<std::function<void()>(QSqlDatabase&)> work) {
    QPointer<FestaPanelModel> self(this);
    QMetaObject::invokeMethod(
        m_worker,
        [self, w = m_worker, work = std::move(work)] {
            std::function<void()> answer;
            if (const QString problem = w->ensureOpen(); !problem.isEmpty()) {
                answer = [self, problem] {
                    if (self) emit self->failed(problem);
                };
            } else {
                try {
                    QSqlDatabase db = w->session().db();
                    const FestaSession::Watch watch(w->session());
                    answer = work(db);
                } catch (const AppError& e) {
                    w->session().close();
                    answer = [self, why = e.text()] {
                        if (self) emit self->failed(why);
                    };
                }
            }
            if (self) QMetaObject::invokeMethod(self, answer, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void FestaPanelModel::refresh() {
    post([this](QSqlDatabase& db) -> std::function<void()> {
        FestaPanelStore::Figures f = FestaPanelStore::read(db);
        return [this, f = std::move(f)] {
            m_figures = f;
            emit refreshed();
        };
    });
}

void FestaPanelModel::readClosedTills() {
    post([this](QSqlDatabase& db) -> std::function<void()> {
        const QList<FestaPanelStore::ClosedTill> tills = FestaPanelStore::closedTills(db);
        return [this, tills] { emit closedTillsRead(tills); };
    });
}

void FestaPanelModel::readCatalogue() {
    post([this](QSqlDatabase& db) -> std::function<void()> {
        const FestaCatalogue c = FestaPanelStore::catalogue(db);
        return [this, c] { emit catalogueRead(c); };
    });
}

void FestaPanelModel::saveCatalogue(const FestaCatalogue& catalogue) {
    post([this, catalogue](QSqlDatabase& db) -> std::function<void()> {
        const int version = FestaPanelStore::saveCatalogue(db, catalogue);
        return [this, version] { emit catalogueSaved(version); };
    });
}

void FestaPanelModel::resolveClaim(const FestaPanelStore::DeskFigures& keeper) {
    post([keeper](QSqlDatabase& db) -> std::function<void()> {
        FestaPanelStore::resolveClaim(db, keeper);
        return [] {};
    });
    refresh();
}
