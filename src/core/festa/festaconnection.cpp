#include "festaconnection.h"

#include "core/festa/festaserverstore.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <libpq-fe.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int connectSeconds = 4;

// What reaching host:port by TCP says before the database's own protocol starts.
enum class Reach { Open, NotFound, Refused, NoAnswer };

Reach reach(const QString& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0 ||
        !found)
        return Reach::NotFound;
    Reach result = Reach::NoAnswer;
    for (addrinfo* a = found; a && result != Reach::Open; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
        int error = rc == 0 ? 0 : errno;
        if (rc != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, connectSeconds * 1000) == 1) {
                socklen_t len = sizeof error;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
            } else {
                error = ETIMEDOUT;
            }
        }
        ::close(fd);
        if (error == 0)
            result = Reach::Open;
        else if (error == ECONNREFUSED)
            result = Reach::Refused;
    }
    ::freeaddrinfo(found);
    return result;
}

// The socket of an open connection, from the driver's own handle; -1 when it is not a PostgreSQL
// connection or none is open.
int socketOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0) return -1;
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    return connection ? PQsocket(connection) : -1;
}

QString where(const FestaTarget& t) {
    return QStringLiteral("%1:%2").arg(t.host).arg(t.port);
}

// The server's words on a failed connection, as Portuguese for the desk.
QString connectionMessage(const FestaTarget& t, const QString& native) {
    const QString n = native.toLower();
    if (n.contains(QLatin1String("password authentication failed")) ||
        n.contains(QLatin1String("autenticação do tipo senha falhou")) ||
        n.contains(QLatin1String("no password supplied")))
        return QStringLiteral(
            "O servidor da festa recusou a senha do caixa: confira a senha dos caixas que a "
            "instalação do servidor mostrou.");
    if ((n.contains(QLatin1String("database")) && n.contains(QLatin1String("does not exist"))) ||
        (n.contains(QLatin1String("banco de dados")) && n.contains(QLatin1String("não existe"))))
        return QStringLiteral("O servidor %1 não tem a base de dados da festa \"%2\": confira o nome da base "
                              "ou rode scripts/festa-server.sh no computador da tesouraria.")
            .arg(where(t), t.database);
    if (n.contains(QLatin1String("pg_hba.conf")))
        return QStringLiteral("O servidor %1 não aceita este caixa na base \"%2\": confira o nome da base ou "
                              "rode scripts/festa-server.sh de novo no computador da tesouraria.")
            .arg(where(t), t.database);
    if (n.contains(QLatin1String("timeout")) || n.contains(QLatin1String("tempo")))
        return QStringLiteral(
                   "O servidor da festa (%1) não respondeu a tempo: confira se ele está ligado e na "
                   "mesma rede.")
            .arg(where(t));
    return QStringLiteral("Não foi possível conectar ao servidor da festa (%1): %2")
        .arg(where(t), native.trimmed());
}

} // namespace

FestaTarget FestaTarget::desk(const FestaSettings& s) {
    return {s.host, s.port, s.database, FestaRoles::desk, s.password};
}

FestaTarget FestaTarget::treasurer(const FestaSettings& s, const QString& password) {
    return {s.host, s.port, s.database, FestaRoles::treasurer, password};
}

int FestaSession::knownSchemaVersion() {
    return 2; // db/server/001-festa.sql, 002-copias.sql
}

FestaSession::FestaSession(const QString& connectionName, FestaTarget target, int stallMs)
    : m_name(connectionName), m_target(std::move(target)), m_stallMs(stallMs) {
    m_watcher = std::thread([this] { watchLoop(); });
}

FestaSession::~FestaSession() {
    close();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_watcher.join();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase FestaSession::db() const {
    return QSqlDatabase::database(m_name, false);
}

bool FestaSession::isOpen() const {
    return db().isOpen();
}

QString FestaSession::open() {
    close();
    switch (reach(m_target.host, m_target.port)) {
    case Reach::NotFound:
        return QStringLiteral("Servidor da festa não encontrado: o endereço \"%1\" não existe nesta rede. "
                              "Confira o endereço.")
            .arg(m_target.host);
    case Reach::NoAnswer:
        return QStringLiteral("O servidor da festa (%1) não responde: confira se ele está ligado e na mesma "
                              "rede que este caixa.")
            .arg(where(m_target));
    case Reach::Refused:
        return QStringLiteral("O computador %1 recusou a conexão na porta %2: o servidor da festa não está "
                              "funcionando nele, ou a porta está errada.")
            .arg(m_target.host)
            .arg(m_target.port);
    case Reach::Open:
        break;
    }
    QSqlDatabase d = QSqlDatabase::contains(m_name)
                         ? QSqlDatabase::database(m_name, false)
                         : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    if (!d.isValid())
        return QStringLiteral("O programa não encontrou o módulo de conexão do PostgreSQL (pacote "
                              "libqt6sql6-psql).");
    d.setHostName(m_target.host);
    d.setPort(m_target.port);
    d.setDatabaseName(m_target.database);
    d.setUserName(m_target.user);
    d.setPassword(m_target.password);
    d.setConnectOptions(
        QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=5;keepalives_interval=2;"
                       "keepalives_count=3;tcp_user_timeout=%2;application_name=quorvanta")
            .arg(connectSeconds)
            .arg(m_stallMs));
    if (!d.open()) {
        QString text = connectionMessage(m_target, d.lastError().databaseText() + QLatin1Char(' ') +
                                                       d.lastError().driverText());
        d.close();
        return text;
    }
    {
        std::lock_guard lock(m_mutex);
        m_socket = socketOf(d); // the driver's handle names the socket
    }
    try {
        const Watch watch(*this);
        FestaServerStore::setTimeouts(d, m_stallMs);
        const std::optional<int> version = FestaServerStore::schemaVersion(d);
        if (!version) {
            close();
            return QStringLiteral(
                       "O servidor %1 não tem a base de dados da festa \"%2\" (a base existe, mas sem "
                       "as tabelas da festa): rode scripts/festa-server.sh no computador da "
                       "tesouraria.")
                .arg(where(m_target), m_target.database);
        }
        if (*version > knownSchemaVersion()) {
            close();
            return QStringLiteral(
                       "O servidor da festa é de uma versão mais nova do programa (esquema %1; este "
                       "caixa conhece até o %2). Atualize o programa deste caixa.")
                .arg(*version)
                .arg(knownSchemaVersion());
        }
    } catch (const ServerError& e) {
        close();
        return connectionMessage(m_target, e.text());
    }
    return {};
}

void FestaSession::close() {
    {
        std::lock_guard lock(m_mutex);
        m_socket = -1;
        m_deadline = 0;
    }
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase d = QSqlDatabase::database(m_name, false);
        d.close();
    }
}

void FestaSession::cut() {
    std::lock_guard lock(m_mutex);
    if (m_socket >= 0) ::shutdown(m_socket, SHUT_RDWR);
}

FestaSession::Watch::Watch(FestaSession& s) : m_session(s) {
    {
        std::lock_guard lock(s.m_mutex);
        s.m_deadline = QDateTime::currentMSecsSinceEpoch() + s.m_stallMs;
    }
    s.m_wake.notify_all();
}

FestaSession::Watch::~Watch() {
    std::lock_guard lock(m_session.m_mutex);
    m_session.m_deadline = 0;
}

void FestaSession::watchLoop() {
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (m_deadline == 0) {
            m_wake.wait(lock);
            continue;
        }
        const qint64 left = m_deadline - QDateTime::currentMSecsSinceEpoch();
        if (left > 0) {
            m_wake.wait_for(lock, std::chrono::milliseconds(left));
            continue;
        }
        // the server stopped answering: the statement under way fails and the connection is opened again
        if (m_socket >= 0) ::shutdown(m_socket, SHUT_RDWR);
        m_deadline = 0;
    }
}

QString testFestaConnection(const FestaSettings& settings) {
    const QString name = QStringLiteral("festa-teste-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
    FestaSession session(name, FestaTarget::desk(settings));
    QString problem = session.open();
    session.close();
    return problem;
}
