#pragma once

#include "core/festa/festacatalogue.h"
#include "core/festa/festaconnection.h"
#include "core/festa/festapanelstore.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

// The treasurer's panel of the festa: the festa's and each desk's figures, the closed tills of every
// desk and the catalogue. Every request runs on a thread of its own with its own connection (treasurer
// role) and answers with a signal on the thread that made the model; the window never waits for the
// network.
class FestaPanelModel : public QObject {
    Q_OBJECT
public:
    explicit FestaPanelModel(const FestaTarget& treasurer, QObject* parent = nullptr);
    ~FestaPanelModel() override;

    void refresh();                                      // refreshed() or failed()
    void readClosedTills();                              // closedTillsRead() or failed()
    void readCatalogue();                                // catalogueRead() or failed()
    void saveCatalogue(const FestaCatalogue& catalogue); // catalogueSaved() or failed()
    // The treasurer's choice on a copied desk: `keeper` keeps the identity. Then refreshed() or failed().
    void resolveClaim(const FestaPanelStore::DeskFigures& keeper);

    // As of the last refresh.
    const FestaPanelStore::Figures& figures() const { return m_figures; }

signals:
    void refreshed();
    void failed(const QString& why);
    void closedTillsRead(const QList<FestaPanelStore::ClosedTill>& tills);
    void catalogueRead(const FestaCatalogue& catalogue);
    void catalogueSaved(int version);

private:
    // Runs `work` on the panel's thread with an open connection; `work` returns what to do back here.
    void post(std::function<std::function<void()>(QSqlDatabase&)> work);

    class Worker;
    QThread m_thread;
    Worker* m_worker = nullptr;
    FestaPanelStore::Figures m_figures;
};
