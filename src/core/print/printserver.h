#pragma once

// Questions to the system's print server (CUPS) about printers and jobs. Every call opens its own
// connection and blocks until the server answers (a few milliseconds on this machine, seconds when it
// hangs), so windows ask from a worker thread; the calls are safe on any thread.

#include "report.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

template <typename T> class QFutureWatcher;

namespace PrintServer {

struct PrinterStatus {
    enum class State { NoServer, NoPrinter, Ready, Printing, Stopped };
    State state = State::NoServer;
    QString printer;
    QString makeAndModel;
    bool accepting = false;
    QStringList reasons; // printer-state-reasons keywords, "none" left out
    QString message;     // printer-state-message: what the administrator or the driver said
    QString pdfFolder;   // with no printer to print to: the folder where each job is written as a PDF

    // Why a job cannot print now, as told to the cashier; empty when it can.
    QString problem() const;
    // The state in one line for the screen.
    QString line() const;
};

// The state of a printer; empty: the default printer (or, with none, the printer last printed to).
PrinterStatus printerStatus(const QString& printer = QString());

// The reasons among `reasons` that keep a printer from printing (no paper, cover open, offline, ...).
QStringList stopReasons(const QStringList& reasons);
// A state reason keyword in Portuguese ("media-empty-error" -> "sem papel").
QString reasonText(const QString& reason);

enum class JobState { Unknown, Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };
// Whether a job in that state has ended without printing.
inline bool failed(JobState s) {
    return s == JobState::Stopped || s == JobState::Canceled || s == JobState::Aborted;
}
inline bool ended(JobState s) {
    return failed(s) || s == JobState::Completed;
}

// The state of each job, in the order given (one connection for all). A PDF file counts as completed;
// a job the server does not know, or any job when the server does not answer, as Unknown.
QList<JobState> jobStates(const QList<PrintJob>& jobs);
JobState jobState(const PrintJob& job);
// What the print server knows of the job of the named document on `printer` (its title is the document's
// name or ends with "-<document>"; the newest such job).
struct FoundJob {
    bool answered = false; // the server answered; otherwise nothing is known
    int id = 0;            // 0: no job of that title
    JobState state = JobState::Unknown;
    int documents = 0; // documents the job holds; 0 while its data never arrived, or once it printed
                       // and the server removed its files
    // The job's document reached the server and will print or has printed (a job whose data never
    // arrived ends aborted, never completed).
    bool reachedPrinter() const {
        if (id == 0) return false;
        return state == JobState::Completed ||
               (documents > 0 && state != JobState::Canceled && state != JobState::Aborted);
    }
};
FoundJob findJob(const QString& printer, const QString& document);

// Cancels a job that has not ended (so that a stopped job never comes out after it was reprinted);
// true when the server took the request or the job had already ended.
bool cancelJob(const PrintJob& job);

} // namespace PrintServer

// Follows print jobs until they end: every interval it asks the print server (on a worker thread) for
// the state of the jobs it still follows; a job that ended aborted, canceled or stopped is reported once
// by jobsFailed, a completed one by jobsCompleted. Jobs the server does not know go on being asked.
class PrintJobWatcher : public QObject {
    Q_OBJECT
public:
    explicit PrintJobWatcher(QObject* parent = nullptr);
    ~PrintJobWatcher() override;

    void follow(const QList<PrintJob>& jobs);
    void follow(const PrintJob& job) { follow(QList<PrintJob>{job}); }
    QList<PrintJob> following() const { return m_jobs; }
    void setInterval(int ms) { m_timer.setInterval(ms); }

signals:
    void jobsFailed(const QList<PrintJob>& jobs, const QList<PrintServer::JobState>& states);
    void jobsCompleted(const QList<PrintJob>& jobs);
    void allEnded();

private:
    void poll();
    void answered();

    QList<PrintJob> m_jobs;
    QList<PrintJob> m_asked;
    QTimer m_timer;
    QFutureWatcher<QList<PrintServer::JobState>>* m_query;
};
