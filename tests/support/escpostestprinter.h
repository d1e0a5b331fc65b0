#pragma once

// A small ESC/POS printer for the tests, in the test's process: on a thread of its own it listens on a
// loopback TCP port (or serves a pseudo-terminal standing for a USB printer device file), keeps every byte
// it receives, prints the documents it decodes and answers status requests with the state the test sets.
// The thread never waits for the test: a sink blocking on the test's thread is served all the same.

#include "core/print/printersettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <mutex>
#include <optional>
#include <thread>

// One printed document: the raster rows between ESC @ and the feed or cut that ends them.
struct EscPosDocument {
    int widthDots = 0;
    int rows = 0;
    QByteArray bits; // rows of widthDots / 8 bytes, leftmost dot in the high bit
    bool cut = false;
    QImage image() const;
    // The same printed dots.
    bool operator==(const EscPosDocument& o) const { return widthDots == o.widthDots && bits == o.bits; }
};

// Reads the commands this program sends to a printer, from bytes arriving in any chunks.
class EscPosDecoder {
public:
    struct Event {
        enum class Kind { Document, Cut, StatusRequest, ProcessRequest };
        Kind kind;
        EscPosDocument document; // Document; a cut that ends a document comes with it
        int n = 0;               // StatusRequest: DLE EOT n
        QByteArray id;           // ProcessRequest: GS ( H fn 48 with its id
    };
    void append(QByteArrayView bytes);
    // The next command complete in what arrived; none until more arrives.
    std::optional<Event> next();
    int unknownBytes() const { return m_unknown; }

    // The documents of a whole byte stream; status requests and cuts are left out.
    static QList<EscPosDocument> documents(const QByteArray& bytes);

private:
    std::optional<Event> endDocument(bool cut);

    QByteArray m_buffer;
    qsizetype m_pos = 0;
    EscPosDocument m_document;
    int m_unknown = 0;
};

class EscPosTestPrinter {
public:
    enum class Transport { Tcp, Device };
    enum class State { Ready, PaperNearEnd, CoverOpen, PaperEnd };

    explicit EscPosTestPrinter(Transport transport = Transport::Tcp);
    ~EscPosTestPrinter();
    EscPosTestPrinter(const EscPosTestPrinter&) = delete;
    EscPosTestPrinter& operator=(const EscPosTestPrinter&) = delete;

    // The settings of a sink that prints here.
    PrinterSettings settings(int paperMm = 80, bool cutEachTicket = true) const;

    void setState(State state);
    // A new roll lasting that many documents (-1: endless). The last of them is printed and cut, then
    // printing stops for lack of paper; documents that come after are dropped.
    void loadPaper(int documents = -1);
    // Whether the printer answers the requests to confirm what it printed (GS ( H), as newer models do;
    // it confirms only when every document since the last request printed. On by default.
    void setConfirming(bool confirming);
    // Closes the connection right after the printer has printed that many documents in all (TCP only).
    void closeAfter(int documents);
    // No status request is answered once that many documents have been printed in all (0: never).
    void stopAnsweringAfter(int documents);

    QList<EscPosDocument> documents() const;
    int cuts() const;
    int connections() const;
    int statusRequests() const;
    int unknownBytes() const;
    QByteArray received() const;

private:
    struct Client {
        int fd;
        EscPosDecoder decoder;
    };
    void serve();
    bool take(Client& client, QByteArrayView bytes); // false: the connection is to be closed
    char answer(int n) const;

    Transport m_transport;
    int m_listen = -1, m_master = -1, m_slave = -1;
    int m_wake[2] = {-1, -1};
    quint16 m_port = 0;
    QByteArray m_device;
    std::thread m_thread;

    mutable std::mutex m_mutex; // what follows
    State m_state = State::Ready;
    int m_paperLeft = -1;
    bool m_stopped = false;
    int m_closeAfter = -1;
    int m_answerUntil = -1;
    bool m_confirming = true;
    bool m_dropped = false; // a document dropped since the last confirmation request
    QList<EscPosDocument> m_documents;
    int m_cuts = 0, m_connections = 0, m_statusRequests = 0, m_unknown = 0;
    QByteArray m_received;
};
