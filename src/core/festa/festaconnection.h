#pragma once

#include "core/base/errors.h"
#include "core/festa/festasettings.h"

#include <QSqlDatabase>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// Who connects to the festa's server and where.
struct FestaTarget {
    QString host;
    int port = 5432;
    QString database = QStringLiteral("festa");
    QString user;
    QString password;

    static FestaTarget desk(const FestaSettings& settings);
    static FestaTarget treasurer(const FestaSettings& settings, const QString& treasurerPassword);
};

// The festa server's roles (made by scripts/festa-schema.sh).
namespace FestaRoles {
inline const QString desk = QStringLiteral("festa_caixa");
inline const QString treasurer = QStringLiteral("festa_tesouraria");
} // namespace FestaRoles

// A statement on the festa's server that failed: its text for the user. The connection is not to be
// trusted afterwards (close and open it again).
class ServerError : public AppError {
public:
    explicit ServerError(const QString& text, const QString& sqlState = QString())
        : AppError(text), m_state(sqlState) {}
    QString sqlState() const { return m_state; }

private:
    QString m_state;
};

// One connection to the festa's server, for the one thread that uses it. Tight options: a few seconds to
// connect, TCP keepalives and a user timeout (a dead network is noticed in seconds), a statement timeout
// on the server, and a watch of its own: a server that stops answering in the middle of a statement for
// longer than `stallMs` has the connection cut from this side (the statement fails; open it again).
class FestaSession {
public:
    FestaSession(const QString& connectionName, FestaTarget target, int stallMs = 15000);
    ~FestaSession();
    FestaSession(const FestaSession&) = delete;
    FestaSession& operator=(const FestaSession&) = delete;

    // Empty when open (and the server's schema is one this program knows); otherwise why not, in
    // Portuguese: server not found, connection refused, wrong password, no festa database, a newer
    // schema, or the server's own words.
    QString open();
    bool isOpen() const;
    void close();
    QSqlDatabase db() const;
    const FestaTarget& target() const { return m_target; }

    // While alive, the session's watch cuts the connection when the server takes longer than the limit.
    class Watch {
    public:
        explicit Watch(FestaSession& session);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        FestaSession& m_session;
    };
    // Cuts the connection now, from any thread (a statement under way fails at once).
    void cut();

    // The schema version this program knows (the number of db/server files it was built with).
    static int knownSchemaVersion();

private:
    void watchLoop();

    QString m_name;
    FestaTarget m_target;
    int m_stallMs;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_socket = -1;     // the connection's socket, while open
    qint64 m_deadline = 0; // when the statement under way is given up (ms since epoch), 0 = none
    bool m_quit = false;
    std::thread m_watcher;
};

// Tests the settings as a desk: empty when the desk can report to that server, otherwise why not (see
// FestaSession::open). Takes a few seconds at most; call it off the window thread.
QString testFestaConnection(const FestaSettings& settings);
