#pragma once

// What the tests of a festa of several desks need: a real PostgreSQL 15 cluster of their own with the
// festa's schema, a TCP proxy that can stop forwarding without closing anything, desks run as child
// processes of the test program, and each desk's own figures to compare with the server's.

#include "core/festa/festaconnection.h"
#include "core/festa/festapanelstore.h"
#include "core/festa/festasettings.h"
#include "core/festa/festauploader.h"

#include <QHash>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <memory>

namespace TestSupport {

// A cluster in a temporary folder on a port of its own, set up with scripts/festa-schema.sh, stopped and
// removed with the object. initdb and the server run as the postgres user when the tests run as root.
class TestPgServer {
public:
    TestPgServer();
    ~TestPgServer();
    TestPgServer(const TestPgServer&) = delete;
    TestPgServer& operator=(const TestPgServer&) = delete;

    // Empty when the server runs; otherwise why the tests must be skipped or fail.
    QString problem() const { return m_problem; }
    int port() const { return m_port; }

    static QString deskPassword() { return QStringLiteral("caixa-teste"); }
    static QString treasurerPassword() { return QStringLiteral("tesouraria-teste"); }
    FestaSettings deskSettings(const QString& deskName, int port = 0) const;
    FestaTarget treasurer() const;

    void stopImmediately(); // as a power cut: pg_ctl -m immediate
    bool start();
    // Runs SQL as the superuser on the festa's database; returns the rows, one a line, columns by '|'.
    QString sql(const QString& statements, const QString& database = QStringLiteral("festa")) const;

private:
    bool run(const QStringList& command, QString* output = nullptr) const;

    QTemporaryDir m_dir;
    QString m_bin;
    int m_port = 0;
    QString m_problem;
};

// Forwards 127.0.0.1:port() to 127.0.0.1:target on a thread of its own. Paused, it accepts and holds
// connections and their data but forwards nothing, as a network that went silent; resumed, it forwards
// what it held.
class TcpProxy {
public:
    explicit TcpProxy(int target);
    ~TcpProxy();
    int port() const { return m_port; }
    void pause();
    void resume();

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker = nullptr;
    int m_port = 0;
};

// A free TCP port on 127.0.0.1 (nothing listens on it when this returns).
int freePort();

// The timing of the test desks: short intervals, a server silent for 0.4 s told, for 1.5 s given up.
FestaUploader::Timing quickTiming();

// A desk run as a child process of the test program: `--desk FILE CONFIG SEED STEPS`. It opens its till
// if needed and takes STEPS steps (sales of one to four lines, some withdrawals and closings, 0 for none)
// one every few milliseconds, uploading all along, then waits until the server acknowledged everything
// and exits 0. It prints "estado: <line>" whenever its festa line changes and "venda-max-ms: N" (the
// slowest step) at the end. Returns -1 when the arguments are no desk's.
int runTestDesk(int argc, char** argv);
QStringList testDeskArguments(const QString& file, const QString& config, quint32 seed, int steps,
                              int stepMs = 15, int burst = 1);

// What a desk file says it sold and holds, to compare with the server's figures for that desk.
struct DeskBook {
    QString deskId;
    QMap<QString, QPair<qint64, qint64>> products; // "key|name" -> units, cents
    qint64 salesCents = 0;
    qint64 withdrawnCents = 0;
    int withdrawals = 0;
    int closedTills = 0;
    qint64 countedCents = 0; // summed over the closed tills
    bool tillOpen = false;
    qint64 expectedCents = 0; // of the current (or last) till
    qint64 lastSeq = 0;
    qint64 firstSeq = 0;
};
DeskBook readDeskBook(const QString& file);
// Empty when the server's figures for that desk match the book; otherwise what differs.
QString compareWithServer(const DeskBook& book, const FestaPanelStore::Figures& figures,
                          const QList<FestaPanelStore::ClosedTill>& closed);

} // namespace TestSupport
