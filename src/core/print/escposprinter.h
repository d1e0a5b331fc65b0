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

    // Why a print cannot go on now, as told to the cashier; empty when it can.
    QString problem() const;
    // The state in one line for the screen.
    QString line() const;
    friend bool operator==(const EscPosPrinterStatus&, const EscPosPrinterStatus&) = default;
};

// Prints each report's page as ESC/POS raster graphics to a network printer (TCP) or a USB printer
// device file. A batch (see PrintSession) is one connection, opened at its first print: before the first
// page the printer's status is asked, and a printer offline, without paper, with its cover open or in
// error gets nothing and the print raises PrintError. After each page the status is asked again: a page
// is known printed only when the printer answers that printing did not stop (no paper-end stop, cover
// closed, no error); otherwise, or with no answer, or when the connection drops while the page goes
// out, the print raises PrintError and the page counts as not printed. A roll sensor that says the paper
// ended while printing went on lets the page count, and the next print raises before sending anything.
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
    void checkAfterPage();
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
};
