#pragma once

#include "core/festa/festaconnection.h"
#include "core/festa/festasettings.h"

#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

// Where the desk's report to the festa stands, for the sales screen's line and the desk's own checks.
struct FestaUploadState {
    bool connected = false;
    qint64 waiting = 0;      // journal rows the server has not acknowledged
    qint64 acknowledged = 0; // the last row it did
    QDateTime lastContact;   // the last exchange the server answered
    QString problem;         // why the server cannot be reached now (empty while it can)
    QString stopped;         // why the upload stopped for good (a copy of another desk's file)
    int catalogue = 0;       // the catalogue version the desk sells with
    QDateTime attemptSince;  // an exchange with the server under way since then (invalid: none)
};

// Why a desk stopped sending: another desk claims its identity (a copied desk file). Short enough for the
// sales screen's line.
QString festaCopyStop();

// The sales screen's line: "Festa: em dia", "Festa: 12 registros a enviar — servidor sem resposta há 3 min".
QString festaStatusLine(const FestaUploadState& state, const QDateTime& now);

// Sends the desk's journal to the festa's server, exactly once, on a thread of its own with its own
// connections (one to the desk file, one to the server): nothing on the window thread waits for the
// network. Rows go in batches, each in one server transaction, inserted only where the server has none
// of that desk and number; the desk stores the acknowledgement only after the server committed. A row the
// server already has with another content stops the upload for good (stopped(), and on the server) and
// changes nothing there. Heartbeats tell the server the desk's state; newer catalogue versions are
// downloaded into the desk file (catalogueDownloaded) for the desk to apply between two sales.
class FestaUploader : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int pollMs = 250;       // how often the desk file is looked at when there is nothing to send
        int heartbeatMs = 2000; // heartbeats and catalogue checks
        int batchRows = 200;    // rows per server transaction
        int chunkRows = 50;     // rows per statement within it
        int retryMs = 500;      // first wait after a failure, doubled up to maxRetryMs
        int maxRetryMs = 10000;
        int stallMs = 15000; // a server silent that long in the middle of a statement is given up
        int slowMs = 2000;   // an exchange longer than this tells a silent server (a normal one: ms)
    };

    FestaUploader(const QString& deskFile, const FestaSettings& settings, const Timing& timing,
                  QObject* parent = nullptr);
    FestaUploader(const QString& deskFile, const FestaSettings& settings, QObject* parent = nullptr)
        : FestaUploader(deskFile, settings, Timing(), parent) {}
    ~FestaUploader() override;

    void start();
    // New rows in the desk file: send them now rather than at the next look.
    void wake();
    FestaUploadState state() const; // from any thread

signals:
    void stateChanged();
    void stopped(const QString& why);
    void catalogueDownloaded(int version);

private:
    class Worker;
    friend class Worker;
    void publish(const FestaUploadState& state);

    mutable QMutex m_mutex;
    FestaUploadState m_state;
    std::atomic<qint64> m_attemptSince{0}; // ms since the epoch; 0: no exchange under way
    QThread m_thread;
    Worker* m_worker = nullptr;
};
