#pragma once

#include "printersettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One open connection to an ESC/POS printer: a TCP socket to a network printer or a USB printer device
// file, both without blocking: connecting, each write and each answer wait at most the timeout.
class EscPosLink {
public:
    EscPosLink() = default;
    ~EscPosLink();
    EscPosLink(const EscPosLink&) = delete;
    EscPosLink& operator=(const EscPosLink&) = delete;

    // Connects to the printer of the settings; raises PrintError when it cannot.
    void open(const PrinterSettings& settings, int timeoutMs);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // Whether the connection can still carry data: not closed by the printer, no write given up.
    bool healthy() const { return isOpen() && !m_broken; }

    // Writes everything; false when the connection dropped or the printer took nothing for the timeout.
    bool write(QByteArrayView data);
    // Reads `size` bytes; fewer when the timeout (or `timeoutMs`, when given) passed or the connection
    // dropped first.
    QByteArray read(int size, int timeoutMs = -1);
    // Drops what arrived unasked (an answer that came too late), noting a connection the printer closed.
    void discardInput();

    // Why the connection could not be opened or dropped, in Portuguese.
    QString error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_socket = false;
    bool m_broken = false;
    int m_timeoutMs = 2000;
    QString m_error;
};
