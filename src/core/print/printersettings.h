#pragma once

#include <QString>

// How this machine reaches its ticket printer, kept in the user's configuration
// (~/.config/quorvanta/impressora.conf, readable by the user only). Until someone configures it, tickets go
// to the system's print server as always.
struct PrinterSettings {
    enum class Kind {
        PrintServer, // the system's print server (CUPS), or PDF files with no printer
        Network,     // an ESC/POS printer at host:port (TCP)
        Usb          // an ESC/POS printer on a USB printer device file
    };
    Kind kind = Kind::PrintServer;
    QString host;
    int port = 9100;
    QString device = QStringLiteral("/dev/usb/lp0");
    int paperMm = 80; // 58 or 80
    bool cutEachTicket = true;

    // Missing or unreadable values take their defaults.
    static PrinterSettings load();
    // Raises AppError when the file cannot be written.
    void save() const;

    static QString fileName();
    static void setFileName(const QString& file); // empty restores the default

    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};
