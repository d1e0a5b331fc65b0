#include "festasupport.h"

#include "core/base/money.h"
#include "core/db/database.h"
#include "core/desk/desktill.h"
#include "core/festa/deskjournal.h"
#include "core/festa/festadesk.h"
#include "core/festa/festajournalstore.h"
#include "core/history/historystore.h"
#include "core/till/tillmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

#include <pwd.h>
#include <unistd.h>

namespace TestSupport {

// ---- the cluster ----

TestPgServer::TestPgServer() : m_bin(QStringLiteral("/usr/lib/postgresql/15/bin")) {
    if (!QFile::exists(m_bin + QStringLiteral("/initdb"))) {
        m_problem = QStringLiteral("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_problem =
            QStringLiteral("Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)");
        return;
    }
    const QString pwfile = m_dir.filePath(QStringLiteral("senha"));
    {
        QFile f(pwfile);
        if (!f.open(QIODevice::WriteOnly)) {
            m_problem = QStringLiteral("cannot write ") + pwfile;
            return;
        }
        f.write("superusuario-teste\n");
    }
    if (::geteuid() == 0) { // the server refuses to run as root
        const passwd* pw = ::getpwnam("postgres");
        if (!pw) {
            m_problem = QStringLiteral("no postgres user to run the server as");
            return;
        }
        for (const QString& p : {m_dir.path(), pwfile})
            if (::chown(QFile::encodeName(p).constData(), pw->pw_uid, pw->pw_gid) != 0) {
                m_problem = QStringLiteral("cannot hand ") + p + QStringLiteral(" to postgres");
                return;
            }
    }
    QString out;
    if (!run({m_bin + QStringLiteral("/initdb"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
              QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("--pwfile=") + pwfile,
              QStringLiteral("--auth=scram-sha-256"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
             &out)) {
        m_problem = QStringLiteral("initdb failed: ") + out;
        return;
    }
    m_port = freePort();
    if (!start()) return;
    QProcess schema;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGHOST"), QStringLiteral("127.0.0.1"));
    env.insert(QStringLiteral("PGPORT"), QString::number(m_port));
    env.insert(QStringLiteral("PGUSER"), QStringLiteral("postgres"));
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("superusuario-teste"));
    env.insert(QStringLiteral("FESTA_SENHA_CAIXA"), deskPassword());
    env.insert(QStringLiteral("FESTA_SENHA_TESOURARIA"), treasurerPassword());
    schema.setProcessEnvironment(env);
    schema.setProcessChannelMode(QProcess::MergedChannels);
    schema.start(QStringLiteral("bash"), {QStringLiteral(QUORVANTA_SOURCE_DIR "/scripts/festa-schema.sh")});
    if (!schema.waitForFinished(60000) || schema.exitCode() != 0)
        m_problem = QStringLiteral("festa-schema.sh failed: ") + QString::fromUtf8(schema.readAll());
}

TestPgServer::~TestPgServer() {
    if (m_port)
        run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
             QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
}

bool TestPgServer::run(const QStringList& command, QString* output) const {
    QStringList args = command;
    QString program = args.takeFirst();
    if (::geteuid() == 0) {
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} +
               args;
        program = QStringLiteral("runuser");
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output) *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

bool TestPgServer::start() {
    QString out;
    const QString options =
        QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                       "-c full_page_writes=off -c idle_in_transaction_session_timeout=3s "
                       "-c max_connections=60 -c lc_messages=C")
            .arg(m_port)
            .arg(m_dir.path());
    if (!run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
              QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")), QStringLiteral("-w"),
              QStringLiteral("-o"), options, QStringLiteral("start")},
             &out)) {
        m_problem = QStringLiteral("the server did not start: ") + out;
        return false;
    }
    return true;
}

void TestPgServer::stopImmediately() {
    run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
         QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

QString TestPgServer::sql(const QString& statements, const QString& database) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("superusuario-teste"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("psql"),
            {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-tA"), QStringLiteral("-v"),
             QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
             QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), QStringLiteral("postgres"),
             QStringLiteral("-d"), database, QStringLiteral("-c"), statements});
    p.waitForFinished(60000);
    if (p.exitCode() != 0) qWarning("psql: %s", p.readAllStandardError().constData());
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

FestaSettings TestPgServer::deskSettings(const QString& deskName, int port) const {
    FestaSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port ? port : m_port;
    s.deskName = deskName;
    s.password = deskPassword();
    return s;
}

FestaTarget TestPgServer::treasurer() const {
    return FestaTarget::treasurer(deskSettings(QString()), treasurerPassword());
}

int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// ---- the proxy ----

class TcpProxy::Worker : public QObject {
public:
    explicit Worker(int target) : m_target(target) {}

    int listen() {
        m_server = new QTcpServer(this);
        if (!m_server->listen(QHostAddress::LocalHost, 0)) return 0;
        QObject::connect(m_server, &QTcpServer::newConnection, this, [this] { accept(); });
        return m_server->serverPort();
    }

    void setPaused(bool paused) {
        m_paused = paused;
        if (paused) return;
        for (const auto& [a, b] : std::as_const(m_pairs)) {
            pump(a, b);
            pump(b, a);
        }
    }

private:
    void accept() {
        while (QTcpSocket* in = m_server->nextPendingConnection()) {
            auto* out = new QTcpSocket(this);
            in->setParent(this);
            m_pairs << qMakePair(in, out);
            QObject::connect(in, &QTcpSocket::readyRead, this, [=, this] { pump(in, out); });
            QObject::connect(out, &QTcpSocket::readyRead, this, [=, this] { pump(out, in); });
            QObject::connect(out, &QTcpSocket::connected, this, [=, this] { pump(in, out); });
            QObject::connect(in, &QTcpSocket::disconnected, this, [=, this] { pump(in, out); });
            QObject::connect(out, &QTcpSocket::disconnected, this, [=, this] { pump(out, in); });
            out->connectToHost(QHostAddress::LocalHost, quint16(m_target));
        }
    }

    // Forwards what `from` holds, and its closing, unless paused (then both wait for the resume).
    void pump(QTcpSocket* from, QTcpSocket* to) {
        if (m_paused) return;
        if (to->state() == QAbstractSocket::ConnectedState && from->bytesAvailable() > 0)
            to->write(from->readAll());
        if (from->state() == QAbstractSocket::UnconnectedState && from->bytesAvailable() == 0 &&
            to->state() != QAbstractSocket::UnconnectedState)
            to->disconnectFromHost();
    }

    int m_target;
    QTcpServer* m_server = nullptr;
    QList<QPair<QTcpSocket*, QTcpSocket*>> m_pairs;
    bool m_paused = false;
};

TcpProxy::TcpProxy(int target) {
    m_worker = new Worker(target);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->listen(); }, Qt::BlockingQueuedConnection);
}

TcpProxy::~TcpProxy() {
    m_thread.quit();
    m_thread.wait();
}

void TcpProxy::pause() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->setPaused(true); }, Qt::BlockingQueuedConnection);
}

void TcpProxy::resume() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->setPaused(false); }, Qt::BlockingQueuedConnection);
}

// ---- the desks ----

FestaUploader::Timing quickTiming() {
    FestaUploader::Timing t;
    t.pollMs = 50;
    t.heartbeatMs = 300;
    t.batchRows = 20;
    t.chunkRows = 4;
    t.retryMs = 100;
    t.maxRetryMs = 400;
    t.stallMs = 1500;
    t.slowMs = 400;
    return t;
}

QStringList testDeskArguments(const QString& file, const QString& config, quint32 seed, int steps, int stepMs,
                              int burst) {
    return {QStringLiteral("--desk"),
            file,
            config,
            QString::number(seed),
            QString::number(steps),
            QString::number(stepMs),
            QString::number(burst)};
}

int runTestDesk(int argc, char** argv) {
    if (argc != 8 || QByteArray(argv[1]) != "--desk") return -1;
    QCoreApplication app(argc, argv);
    const QString file = QString::fromLocal8Bit(argv[2]);
    FestaSettings::setFileName(QString::fromLocal8Bit(argv[3]));
    QRandomGenerator rng(QByteArray(argv[4]).toUInt());
    const int steps = QByteArray(argv[5]).toInt();
    const int stepMs = QByteArray(argv[6]).toInt();
    const int burst = QByteArray(argv[7]).toInt();
    const std::optional<FestaSettings> settings = FestaSettings::load();
    if (!settings) return 3;
    QTextStream out(stdout);
    Database db(file);
    DeskTill till(db);
    FestaDesk desk(db, till, *settings, quickTiming());
    QString shown;
    QObject::connect(&desk, &FestaDesk::stateChanged, [&] {
        if (const QString line = desk.statusLine(); line != shown) {
            shown = line;
            out << "estado: " << line << Qt::endl;
        }
    });
    const QString keys = QStringLiteral("0123459");
    int done = 0;
    qint64 slowest = 0;
    const auto step = [&] {
        QElapsedTimer t;
        t.start();
        const int r = int(rng.bounded(100));
        if (!till.isOpen()) {
            till.open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("09/12/2026"),
                       QStringLiteral("13:00:00"), Money::format(10 * (1 + rng.bounded(10)))},
                      till.nextNumber());
        } else if (r < 86) {
            const int lines = 1 + int(rng.bounded(4));
            for (int i = 0; i < lines; ++i)
                till.addLine(keys[int(rng.bounded(keys.size()))]);
            till.bookSale();
            till.clearSale();
        } else if (r < 96) {
            till.withdraw(Money::format(0.5 * (1 + rng.bounded(19))));
        } else {
            const Cents cash = Cents::parse(till.cash()) - Cents(qint64(rng.bounded(300)));
            till.close(cash.text(), QStringLiteral("ANA"));
        }
        slowest = std::max(slowest, t.elapsed());
        ++done;
    };
    QTimer selling;
    selling.setInterval(stepMs);
    QTimer waiting;
    waiting.setInterval(50);
    QObject::connect(&selling, &QTimer::timeout, [&] {
        for (int i = 0; i < burst && done < steps; ++i)
            step();
        if (done >= steps) {
            selling.stop();
            waiting.start();
        }
    });
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        if (!desk.state().connected || DeskJournal::waiting(db) != 0) return;
        out << "venda-max-ms: " << slowest << Qt::endl;
        QCoreApplication::exit(0);
    });
    if (steps > 0)
        selling.start();
    else
        waiting.start();
    return QCoreApplication::exec();
}

// ---- the figures ----

DeskBook readDeskBook(const QString& file) {
    DeskBook b;
    Database db(file);
    const FestaJournalStore::Desk desk = FestaJournalStore::desk(db);
    b.deskId = desk.deskId;
    b.firstSeq = desk.firstSeq;
    b.lastSeq = FestaJournalStore::lastSeq(db);
    QList<qint64> ids;
    const QList<HistoryStore::ClosedTill> closed = HistoryStore::closedTills(db);
    for (const HistoryStore::ClosedTill& c : closed) {
        ids << c.id;
        b.salesCents += c.salesCents;
        b.withdrawnCents += c.withdrawnCents;
        b.withdrawals += c.withdrawals;
        b.countedCents += c.countedCents.value_or(0);
    }
    b.closedTills = int(closed.size());
    QList<HistoryStore::ProductSold> sold = HistoryStore::productsSold(db, ids);
    const std::optional<TillStore::TillRow> till = TillStore::readTill(db);
    b.tillOpen = till && till->open;
    if (b.tillOpen) {
        const QList<HistoryStore::ProductSold> open = HistoryStore::tally(db);
        for (const HistoryStore::ProductSold& p : open)
            b.salesCents += p.cents;
        sold += open;
        b.withdrawnCents += Cents::parse(till->withdrawn).value();
        b.withdrawals += till->withdrawals;
        b.expectedCents = Cents::parse(till->cash).value();
    } else if (!closed.isEmpty()) {
        b.expectedCents = closed.constFirst().expectedCents;
    }
    for (const HistoryStore::ProductSold& p : sold) {
        auto& [units, cents] = b.products[p.key + QLatin1Char('|') + p.name];
        units += p.units;
        cents += p.cents;
    }
    return b;
}

QString compareWithServer(const DeskBook& b, const FestaPanelStore::Figures& f,
                          const QList<FestaPanelStore::ClosedTill>& closed) {
    QStringList diff;
    const auto differ = [&](const char* what, qint64 desk, qint64 server) {
        if (desk != server)
            diff << QStringLiteral("%1: desk %2, server %3").arg(QLatin1String(what)).arg(desk).arg(server);
    };
    const FestaPanelStore::DeskFigures* d = nullptr;
    for (const FestaPanelStore::DeskFigures& x : f.desks)
        if (x.deskId == b.deskId) d = &x;
    if (!d) return QStringLiteral("desk %1 not on the server").arg(b.deskId);
    differ("sales", b.salesCents, d->festaSalesCents);
    differ("withdrawn", b.withdrawnCents, d->festaWithdrawnCents);
    differ("withdrawals", b.withdrawals, d->festaWithdrawals);
    differ("till open", b.tillOpen, d->tillOpen);
    differ("expected", b.expectedCents, d->expectedCents());
    differ("rows", b.lastSeq - b.firstSeq + 1, d->received);
    int tills = 0;
    qint64 counted = 0;
    for (const FestaPanelStore::ClosedTill& c : closed) {
        if (c.deskId != b.deskId) continue;
        ++tills;
        counted += c.countedCents.value_or(0);
    }
    differ("closed tills", b.closedTills, tills);
    differ("counted", b.countedCents, counted);
    QMap<QString, QPair<qint64, qint64>> server;
    for (const FestaPanelStore::ProductFigures& p : f.productsByDesk)
        if (p.deskId == b.deskId) server[p.key + QLatin1Char('|') + p.name] = {p.units, p.cents};
    for (auto it = b.products.constBegin(); it != b.products.constEnd(); ++it)
        if (server.value(it.key()) != it.value())
            diff << QStringLiteral("%1: desk %2 units %3, server %4 units %5")
                        .arg(it.key())
                        .arg(it.value().first)
                        .arg(it.value().second)
                        .arg(server.value(it.key()).first)
                        .arg(server.value(it.key()).second);
    if (server.size() != b.products.size())
        diff << QStringLiteral("products: desk %1, server %2").arg(b.products.size()).arg(server.size());
    return diff.join(QStringLiteral("; "));
}

} // namespace TestSupport
