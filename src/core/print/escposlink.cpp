#include "escposlink.h"

#include "core/base/errors.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString reason(int err) {
    switch (err) {
    case ECONNREFUSED:
        return QStringLiteral("conexão recusada");
    case ETIMEDOUT:
        return QStringLiteral("não respondeu a tempo");
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
        return QStringLiteral("endereço inalcançável");
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("dispositivo não encontrado");
    case EACCES:
    case EPERM:
        return QStringLiteral("sem permissão de acesso");
    case EBUSY:
        return QStringLiteral("dispositivo em uso");
    case ECONNRESET:
    case EPIPE:
        return QStringLiteral("a conexão caiu");
    default:
        return QString::fromLocal8Bit(strerror(err));
    }
}

// Waits for `events` until the deadline: the events that came, 0 when the time ran out.
int waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(deadline.remainingTime()));
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return POLLERR;
    }
}

// A connected TCP socket without blocking, or -1 with the cause in `err`. Only connecting has the timeout:
// looking up a host name does not (a printer's address is normally a number).
int connectTcp(const QString& host, int port, int timeoutMs, int* err) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0) {
        *err = EHOSTUNREACH;
        return -1;
    }
    const QDeadlineTimer deadline(timeoutMs);
    int fd = -1;
    *err = ETIMEDOUT;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            *err = errno;
            continue;
        }
        int e = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (e == EINPROGRESS) {
            if (waitFor(fd, POLLOUT, deadline) == 0) {
                e = ETIMEDOUT;
            } else {
                socklen_t len = sizeof e;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &e, &len) != 0) e = errno;
            }
        }
        if (e != 0) {
            *err = e;
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd >= 0) {
        // A status request is a few bytes that must go out at once, not wait for the page before it.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

} // namespace

EscPosLink::~EscPosLink() {
    close();
}

void EscPosLink::open(const PrinterSettings& settings, int timeoutMs) {
    close();
    m_timeoutMs = timeoutMs;
    m_broken = false;
    m_error.clear();
    int err = 0;
    switch (settings.kind) {
    case PrinterSettings::Kind::PrintServer:
        throw PrintError(QStringLiteral("A impressora ESC/POS não está configurada."));
    case PrinterSettings::Kind::Network:
        if (settings.host.isEmpty())
            throw PrintError(QStringLiteral("A impressora de rede não tem endereço configurado."));
        m_socket = true;
        m_fd = connectTcp(settings.host, settings.port, timeoutMs, &err);
        if (m_fd < 0) {
            m_error = reason(err);
            throw PrintError(QStringLiteral("Não foi possível conectar à impressora em %1:%2 (%3).")
                                 .arg(settings.host)
                                 .arg(settings.port)
                                 .arg(m_error));
        }
        return;
    case PrinterSettings::Kind::Usb:
        m_socket = false;
        m_fd = ::open(QFile::encodeName(settings.device).constData(),
                      O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            m_error = reason(errno);
            throw PrintError(
                QStringLiteral("Não foi possível abrir a impressora %1 (%2).").arg(settings.device, m_error));
        }
        return;
    }
}

void EscPosLink::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool EscPosLink::write(QByteArrayView data) {
    if (!healthy()) return false;
    const auto fail = [this](int err) {
        m_broken = true;
        m_error = reason(err);
        return false;
    };
    const char* p = data.data();
    qsizetype left = data.size();
    // The timeout counts from the last byte the printer took: a long page may take longer in all.
    QDeadlineTimer deadline(m_timeoutMs);
    while (left > 0) {
        const ssize_t n =
            m_socket ? ::send(m_fd, p, size_t(left), MSG_NOSIGNAL) : ::write(m_fd, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= n;
            deadline.setRemainingTime(m_timeoutMs);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int events = waitFor(m_fd, POLLOUT, deadline);
            if (events == 0) return fail(ETIMEDOUT);
            if (!(events & POLLOUT)) return fail(EPIPE);
            continue;
        }
        return fail(n < 0 ? errno : EIO);
    }
    return true;
}

QByteArray EscPosLink::read(int size, int timeoutMs) {
    QByteArray got;
    if (!healthy()) return got;
    const QDeadlineTimer deadline(timeoutMs < 0 ? m_timeoutMs : timeoutMs);
    while (got.size() < size) {
        char buffer[64];
        const ssize_t n = ::read(m_fd, buffer, std::min(sizeof buffer, size_t(size - got.size())));
        if (n > 0) {
            got.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        const bool nothingYet = n < 0 ? errno == EAGAIN || errno == EWOULDBLOCK : !m_socket;
        if (!nothingYet) {
            // A socket read at its end or failing: the printer closed the connection. A device file
            // that cannot be read (a printer that only takes data) simply gives no answer.
            if (m_socket) {
                m_broken = true;
                m_error = reason(n < 0 ? errno : ECONNRESET);
            }
            break;
        }
        if (deadline.hasExpired()) break;
        if (m_socket) {
            // A printer answers each status request as it comes, one byte at a time: the bytes after the
            // first wait for this side's acknowledgement, which must not be delayed.
            const int on = 1;
            setsockopt(m_fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        }
        if (n == 0)
            ::poll(nullptr, 0, 10); // a device file with nothing to read may say so with 0: look again soon
        else if (waitFor(m_fd, POLLIN, deadline) == 0)
            break;
    }
    return got;
}

void EscPosLink::discardInput() {
    if (!healthy()) return;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) continue;
        if (n < 0 && errno == EINTR) continue;
        if (m_socket && (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))) {
            m_broken = true;
            m_error = reason(n == 0 ? ECONNRESET : errno);
        }
        return;
    }
}
