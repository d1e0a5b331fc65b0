#pragma once

#include "escpos.h"
#include "printersettings.h"
#include "report.h"

#include <QMutex>
#include <QString>
#include <atomic>
#include <memory>

class EscPosLink;

// The last known state of an ESC/POS printer, for the sales screen's printer line.
struct EscPosPrinterStatus {
    enum class State {
        Unknown, // not asked yet
        Ready,
        PaperNearEnd, // prints; the roll is near its end
        PaperEnd,     // the roll sensor says no paper, or printing stopped for lack of paper
        CoverOpen,
        Offline,     // offline for no reason it gives
        Error,       // a printer error (cutter, print head)
        NoAnswer,    // answered status requests before and stopped answering
        Unchecked,   // never answered a status request: prints, but its paper cannot be checked
        NoConnection // cannot be reached: `detail` says why
    };
    State state = State::Unknown;
    QString detail;
    QString printer; // "192.168.0.50:9100", "/dev/usb/lp0"

    // Why a print cannot go on now, as told to the cashier; empty when it can.
    QString problem() const;
    // The state in one line for the screen, naming the printer: "ESC/POS 192.168.0.50:9100: pronta".
    QString line() const;
    friend bool operator==(const EscPosPrinterStatus&, const EscPosPrinterStatus&) = default;
};

// Prints each report's page as ESC/POS raster graphics to a network printer (TCP) or a USB printer
// device file. A batch (see PrintSession) is one connection, opened at its first print: before the first
// page the printer's status is asked, and a printer offline, without paper, with its cover open or in
// error gets nothing and the print raises PrintError. After each page the printer is asked to confirm it
// (EscPos::processRequest: answered once the page is printed and cut), then its status. A confirmed page
// is printed, whatever the status says after it (the roll may end right at its cut: the next print is
// refused). Without the confirmation, a printer that confirms pages and says it stopped printing did not
// print the page whole (PrintError); one that never confirms pages and says it stopped, one that stopped
// answering, or a connection dropped while the page went out leave the page in doubt (PrintDoubt): the
// cashier is asked. A printer that says nothing is wrong prints on, confirming or not.
// A page is never sent twice by the sink: printing again is the caller's decision. After an error the
// next print connects again.
// A printer that never answered a status request (since this sink was made) prints without checks; once
// it has answered, no answer is an error.
// Each page ends with a cut (cutEachTicket), or with a feed and a single cut at the end of the batch.
// Jobs are final when the printer took them, like a PDF file: PrintJob{"escpos:<host>:<port>" or
// "escpos:<device>", 0}.
class EscPosPrintSink : public PrintSink {
public:
    explicit EscPosPrintSink(const PrinterSettings& settings);
    ~EscPosPrintSink() override;
    PrintJob print(const Report& report) override;
    // Connects and asks the status before a batch's first document is even recorded: a printer that
    // cannot print now raises PrintError here. The route is the destination.
    QString route() override;
    void beginBatch() override;
    void endBatch() override;

    PrinterSettings settings() const { return m_settings; }
    QString destination() const;
    // Waiting for the printer: connecting, each write that makes no progress, each answer (default 2 s).
    void setTimeout(int ms) { m_timeoutMs = ms; }

    // The last known state; on any thread.
    EscPosPrinterStatus status() const;
    // Asks the printer now over a short connection of its own and returns its state; while a print is
    // using the printer, the last known state. Blocks for up to a few timeouts: call it from a worker
    // thread. On any thread.
    EscPosPrinterStatus probe();

private:
    enum class Answers { NotYet, Yes, Never };

    void connectAndCheck();
    void checkAfterPage(qsizetype pageBytes);
    bool confirmed(qsizetype pageBytes);
    std::optional<EscPosStatus> refresh(EscPosLink& link);
    void setStatus(EscPosPrinterStatus::State state, const QString& detail = QString());
    void finish();

    const PrinterSettings m_settings;
    std::atomic<int> m_timeoutMs = 2000;
    int m_depth = 0;
    int m_uncut = 0; // pages since the last cut
    EscPos::PageCache m_pages;

    QMutex m_io;                        // one conversation with the printer at a time: a batch or a probe
    std::unique_ptr<EscPosLink> m_link; // the batch's connection, under m_io

    mutable QMutex m_stateMutex;
    EscPosPrinterStatus m_status;
    Answers m_answers = Answers::NotYet;
    Answers m_confirms = Answers::NotYet; // whether the printer answers EscPos::processRequest
    int m_processId = 0;
};
