#include "escpostestprinter.h"

#include <QtGlobal>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr char ESC = 0x1b, GS = 0x1d, DLE = 0x10, EOT = 0x04;
}

QImage EscPosDocument::image() const {
    QImage out(widthDots, rows, QImage::Format_Mono);
    out.setColor(0, qRgb(255, 255, 255));
    out.setColor(1, qRgb(0, 0, 0));
    const int stride = widthDots / 8;
    for (int y = 0; y < rows; ++y)
        memcpy(out.scanLine(y), bits.constData() + qsizetype(y) * stride, size_t(stride));
    return out;
}

void EscPosDecoder::append(QByteArrayView bytes) {
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    m_buffer += bytes;
}

std::optional<EscPosDecoder::Event> EscPosDecoder::endDocument(bool cut) {
    if (m_document.rows == 0) return std::nullopt;
    Event e{Event::Kind::Document, std::exchange(m_document, EscPosDocument()), 0, {}};
    e.document.cut = cut;
    return e;
}

std::optional<EscPosDecoder::Event> EscPosDecoder::next() {
    for (;;) {
        const qsizetype left = m_buffer.size() - m_pos;
        const auto at = [this](int i) { return uchar(m_buffer[m_pos + i]); };
        if (left < 2) return std::nullopt;
        const char c = char(at(0)), c1 = char(at(1));
        if (c == ESC && c1 == '@') { // initialise: a document left without feed or cut ends here
            m_pos += 2;
            if (auto e = endDocument(false)) return e;
        } else if (c == ESC && (c1 == 'J' || c1 == 'd')) { // feed
            if (left < 3) return std::nullopt;
            m_pos += 3;
            if (auto e = endDocument(false)) return e;
        } else if (c == GS && c1 == 'v') { // raster graphics
            if (left < 8) return std::nullopt;
            const int widthBytes = at(4) | at(5) << 8, rows = at(6) | at(7) << 8;
            const qsizetype size = 8 + qsizetype(widthBytes) * rows;
            if (left < size) return std::nullopt;
            m_document.widthDots = widthBytes * 8;
            m_document.rows += rows;
            m_document.bits += QByteArrayView(m_buffer).sliced(m_pos + 8, size - 8);
            m_pos += size;
        } else if (c == GS && c1 == 'V') { // cut; modes from 65 on take a feed amount
            if (left < 3 || (at(2) >= 65 && left < 4)) return std::nullopt;
            m_pos += at(2) >= 65 ? 4 : 3;
            if (auto e = endDocument(true)) return e;
            return Event{Event::Kind::Cut, {}, 0, {}};
        } else if (c == GS && c1 == '(') { // GS ( <fn> pL pH ...: only H 48 48 is answered
            if (left < 5) return std::nullopt;
            const qsizetype size = 5 + (at(3) | at(4) << 8);
            if (left < size) return std::nullopt;
            const QByteArray body = m_buffer.sliced(m_pos + 5, size - 5);
            const bool process = at(2) == 'H' && body.size() == 6 && body.startsWith("00");
            m_pos += size;
            if (process) return Event{Event::Kind::ProcessRequest, {}, 0, body.mid(2)};
            m_unknown += int(size);
        } else if (c == DLE && c1 == EOT) {
            if (left < 3) return std::nullopt;
            const int n = at(2);
            m_pos += 3;
            return Event{Event::Kind::StatusRequest, {}, n, {}};
        } else {
            ++m_unknown;
            ++m_pos;
        }
    }
}

QList<EscPosDocument> EscPosDecoder::documents(const QByteArray& bytes) {
    EscPosDecoder decoder;
    decoder.append(bytes);
    QList<EscPosDocument> out;
    while (const auto e = decoder.next())
        if (e->kind == Event::Kind::Document) out << e->document;
    return out;
}

EscPosTestPrinter::EscPosTestPrinter(Transport transport) : m_transport(transport) {
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) qFatal("EscPosTestPrinter: pipe");
    if (transport == Transport::Tcp) {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_listen < 0 || bind(m_listen, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            listen(m_listen, 4) != 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            qFatal("EscPosTestPrinter: cannot listen on the loopback");
        m_port = ntohs(a.sin_port);
    } else {
        // The sink opens the terminal's device like a printer's; the printer keeps one end open so that
        // the terminal lives between the sink's connections, raw so that every byte passes as it is.
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            qFatal("EscPosTestPrinter: no pseudo-terminal");
        m_device = ptsname(m_master);
        m_slave = open(m_device.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        if (m_slave < 0 || tcgetattr(m_slave, &t) != 0) qFatal("EscPosTestPrinter: pseudo-terminal");
        cfmakeraw(&t);
        tcsetattr(m_slave, TCSANOW, &t);
    }
    m_thread = std::thread([this] { serve(); });
}

EscPosTestPrinter::~EscPosTestPrinter() {
    const char stop = 0;
    if (write(m_wake[1], &stop, 1) != 1) qFatal("EscPosTestPrinter: cannot stop");
    m_thread.join();
    for (int fd : {m_listen, m_master, m_slave, m_wake[0], m_wake[1]})
        if (fd >= 0) close(fd);
}

PrinterSettings EscPosTestPrinter::settings(int paperMm, bool cutEachTicket) const {
    PrinterSettings s;
    s.kind = m_transport == Transport::Tcp ? PrinterSettings::Kind::Network : PrinterSettings::Kind::Usb;
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_port;
    s.device = QString::fromLocal8Bit(m_device);
    s.paperMm = paperMm;
    s.cutEachTicket = cutEachTicket;
    return s;
}

void EscPosTestPrinter::serve() {
    std::vector<Client> clients;
    if (m_master >= 0) clients.push_back({m_master, {}});
    for (;;) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listen, POLLIN, 0}};
        for (const Client& c : clients)
            fds.push_back({c.fd, POLLIN, 0});
        if (poll(fds.data(), nfds_t(fds.size()), -1) < 0) continue;
        if (fds[0].revents) break;
        if (fds[1].revents & POLLIN) {
            const int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                clients.push_back({fd, {}});
                std::lock_guard lock(m_mutex);
                ++m_connections;
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            Client& c = clients[i - 2];
            char buffer[65536];
            const ssize_t n = read(c.fd, buffer, sizeof buffer);
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if ((n <= 0 || !take(c, QByteArrayView(buffer, n))) && c.fd != m_master) {
                close(c.fd);
                c.fd = -1;
            }
        }
        std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
    }
    for (const Client& c : clients)
        if (c.fd != m_master) close(c.fd);
}

bool EscPosTestPrinter::take(Client& client, QByteArrayView bytes) {
    std::lock_guard lock(m_mutex);
    m_received += bytes;
    client.decoder.append(bytes);
    const int unknownBefore = client.decoder.unknownBytes();
    bool open = true;
    while (const auto e = client.decoder.next()) {
        switch (e->kind) {
        case EscPosDecoder::Event::Kind::StatusRequest: {
            ++m_statusRequests;
            const char a = answer(e->n);
            const bool answering = m_answerUntil < 0 || m_documents.size() < m_answerUntil;
            if (a && answering) {
                const ssize_t sent = m_transport == Transport::Tcp ? send(client.fd, &a, 1, MSG_NOSIGNAL)
                                                                   : write(client.fd, &a, 1);
                open = sent == 1;
            }
            break;
        }
        case EscPosDecoder::Event::Kind::ProcessRequest: {
            const bool answering = m_answerUntil < 0 || m_documents.size() < m_answerUntil;
            if (m_confirming && answering && !std::exchange(m_dropped, false)) {
                const QByteArray a = QByteArray("\x37\x22", 2) + e->id + QByteArray(1, '\0');
                const ssize_t sent = m_transport == Transport::Tcp
                                         ? send(client.fd, a.constData(), size_t(a.size()), MSG_NOSIGNAL)
                                         : write(client.fd, a.constData(), size_t(a.size()));
                open = sent == a.size();
            }
            break;
        }
        case EscPosDecoder::Event::Kind::Cut:
            if (!m_stopped) ++m_cuts;
            break;
        case EscPosDecoder::Event::Kind::Document:
            if (m_paperLeft == 0 || m_state == State::PaperEnd || m_state == State::CoverOpen) {
                // Nothing printed: dropped.
                m_stopped = m_stopped || m_state != State::CoverOpen;
                m_dropped = true;
                break;
            }
            m_documents << e->document;
            m_cuts += e->document.cut;
            if (m_paperLeft > 0 && --m_paperLeft == 0) m_stopped = true; // the roll ended at its cut
            if (m_transport == Transport::Tcp && m_documents.size() == m_closeAfter) {
                m_closeAfter = -1;
                open = false; // whatever came after it in this connection is lost
            }
            break;
        }
        if (!open) break;
    }
    m_unknown += client.decoder.unknownBytes() - unknownBefore;
    return open;
}

// The answer to DLE EOT n; 0 for none.
char EscPosTestPrinter::answer(int n) const {
    const bool cover = m_state == State::CoverOpen;
    const bool stop = m_stopped || m_state == State::PaperEnd;
    const bool out = stop || m_paperLeft == 0;
    const bool near = out || m_state == State::PaperNearEnd;
    switch (n) {
    case 1:
        return char(0x12 | (cover || stop ? 0x08 : 0));
    case 2:
        return char(0x12 | (cover ? 0x04 : 0) | (stop ? 0x20 : 0));
    case 3:
        return 0x12;
    case 4:
        return char(0x12 | (near ? 0x0c : 0) | (out ? 0x60 : 0));
    default:
        return 0;
    }
}

void EscPosTestPrinter::setState(State state) {
    std::lock_guard lock(m_mutex);
    m_state = state;
}

void EscPosTestPrinter::loadPaper(int documents) {
    std::lock_guard lock(m_mutex);
    m_paperLeft = documents;
    m_stopped = false;
    m_dropped = false;
}

void EscPosTestPrinter::setConfirming(bool confirming) {
    std::lock_guard lock(m_mutex);
    m_confirming = confirming;
}

void EscPosTestPrinter::closeAfter(int documents) {
    std::lock_guard lock(m_mutex);
    m_closeAfter = documents;
}

void EscPosTestPrinter::stopAnsweringAfter(int documents) {
    std::lock_guard lock(m_mutex);
    m_answerUntil = documents;
}

QList<EscPosDocument> EscPosTestPrinter::documents() const {
    std::lock_guard lock(m_mutex);
    return m_documents;
}

int EscPosTestPrinter::cuts() const {
    std::lock_guard lock(m_mutex);
    return m_cuts;
}

int EscPosTestPrinter::connections() const {
    std::lock_guard lock(m_mutex);
    return m_connections;
}

int EscPosTestPrinter::statusRequests() const {
    std::lock_guard lock(m_mutex);
    return m_statusRequests;
}

int EscPosTestPrinter::unknownBytes() const {
    std::lock_guard lock(m_mutex);
    return m_unknown;
}

QByteArray EscPosTestPrinter::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}
