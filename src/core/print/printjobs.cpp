#include "printserver.h"
#include "printserverlink.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <cups/cups.h>

namespace PrintServer {

using namespace PrintServerLink;

namespace {
ipp_t* jobRequest(ipp_op_t op, int id) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d",
                     id);
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// The state of job `id` of `printer`; Unknown when the server knows no such job of that printer.
JobState askJob(http_t* http, int id, const QString& printer) {
    ipp_t* request = jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, id);
    static const char* const wanted[] = {"job-state", "job-printer-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (response && !printer.isEmpty()) {
        const QString uri = attributeText(ippFindAttribute(response, "job-printer-uri", IPP_TAG_URI));
        if (uri.section(QLatin1Char('/'), -1) != printer) {
            ippDelete(response);
            return JobState::Unknown;
        }
    }
    JobState s = JobState::Unknown;
    if (response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING) {
        switch (ippGetInteger(ippFindAttribute(response, "job-state", IPP_TAG_ENUM), 0)) {
        case IPP_JSTATE_PENDING:
            s = JobState::Pending;
            break;
        case IPP_JSTATE_HELD:
            s = JobState::Held;
            break;
        case IPP_JSTATE_PROCESSING:
            s = JobState::Processing;
            break;
        case IPP_JSTATE_STOPPED:
            s = JobState::Stopped;
            break;
        case IPP_JSTATE_CANCELED:
            s = JobState::Canceled;
            break;
        case IPP_JSTATE_ABORTED:
            s = JobState::Aborted;
            break;
        case IPP_JSTATE_COMPLETED:
            s = JobState::Completed;
            break;
        default:
            break;
        }
    }
    ippDelete(response);
    return s;
}
} // namespace

FoundJob findJob(const QString& printer, const QString& document) {
    FoundJob found;
    Connection connection;
    if (!connection) return found;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.toUtf8().constData());
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    static const char* const wanted[] = {"job-id", "job-name", "job-state", "number-of-documents"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(connection.get(), request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        // a printer the server does not know has no jobs; any other failure tells nothing
        found.answered = response && lastErrorIsNotFound();
        ippDelete(response);
        return found;
    }
    found.answered = true;
    const QByteArray whole = document.toUtf8();
    const QByteArray suffix = '-' + whole;
    // One group of attributes per job, each starting at its job-id.
    int id = 0, documents = 0, state = 0;
    QByteArray name;
    const auto take = [&] {
        if (id > found.id && (name == whole || name.endsWith(suffix))) {
            found.id = id;
            found.documents = documents;
            found.state = state == IPP_JSTATE_PENDING      ? JobState::Pending
                          : state == IPP_JSTATE_HELD       ? JobState::Held
                          : state == IPP_JSTATE_PROCESSING ? JobState::Processing
                          : state == IPP_JSTATE_STOPPED    ? JobState::Stopped
                          : state == IPP_JSTATE_CANCELED   ? JobState::Canceled
                          : state == IPP_JSTATE_ABORTED    ? JobState::Aborted
                          : state == IPP_JSTATE_COMPLETED  ? JobState::Completed
                                                           : JobState::Unknown;
        }
    };
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char* n = ippGetName(a);
        if (!n) { // the end of a group
            take();
            id = documents = state = 0;
            name.clear();
            continue;
        }
        if (qstrcmp(n, "job-id") == 0)
            id = ippGetInteger(a, 0);
        else if (qstrcmp(n, "job-state") == 0)
            state = ippGetInteger(a, 0);
        else if (qstrcmp(n, "number-of-documents") == 0)
            documents = ippGetInteger(a, 0);
        else if (qstrcmp(n, "job-name") == 0)
            name = ippGetString(a, 0, nullptr);
    }
    take();
    ippDelete(response);
    return found;
}

QList<JobState> jobStates(const QList<PrintJob>& jobs) {
    QList<JobState> out(jobs.size(), JobState::Unknown);
    std::unique_ptr<Connection> connection;
    for (int i = 0; i < jobs.size(); ++i) {
        if (jobs[i].isFile()) {
            out[i] = JobState::Completed;
            continue;
        }
        if (!connection) connection = std::make_unique<Connection>();
        if (!*connection) break;
        out[i] = askJob(connection->get(), jobs[i].id, jobs[i].destination);
    }
    return out;
}

JobState jobState(const PrintJob& job) {
    return jobStates({job}).first();
}

bool cancelJob(const PrintJob& job) {
    if (job.isFile()) return true;
    Connection connection;
    if (!connection) return false;
    const JobState state = askJob(connection.get(), job.id, job.destination);
    if (ended(state)) return true;
    if (state == JobState::Unknown) return false; // not a job of that printer: nothing to cancel
    ippDelete(cupsDoRequest(connection.get(), jobRequest(IPP_OP_CANCEL_JOB, job.id), "/jobs/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

} // namespace PrintServer

PrintJobWatcher::PrintJobWatcher(QObject* parent)
    : QObject(parent), m_query(new QFutureWatcher<QList<PrintServer::JobState>>(this)) {
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &PrintJobWatcher::poll);
    connect(m_query, &QFutureWatcher<QList<PrintServer::JobState>>::finished, this,
            &PrintJobWatcher::answered);
}

PrintJobWatcher::~PrintJobWatcher() = default;

void PrintJobWatcher::follow(const QList<PrintJob>& jobs) {
    for (const PrintJob& j : jobs)
        if (!m_jobs.contains(j)) m_jobs << j;
    if (!m_jobs.isEmpty() && !m_timer.isActive()) m_timer.start();
}

void PrintJobWatcher::poll() {
    if (m_query->isRunning()) return;
    if (m_jobs.isEmpty()) {
        m_timer.stop();
        return;
    }
    m_asked = m_jobs;
    m_query->setFuture(QtConcurrent::run([jobs = m_asked] { return PrintServer::jobStates(jobs); }));
}

void PrintJobWatcher::answered() {
    const QList<PrintServer::JobState> states = m_query->result();
    QList<PrintJob> failedJobs;
    QList<PrintServer::JobState> failedStates;
    QList<PrintJob> completed;
    for (int i = 0; i < m_asked.size() && i < states.size(); ++i) {
        if (!PrintServer::ended(states[i])) continue;
        m_jobs.removeOne(m_asked[i]);
        if (PrintServer::failed(states[i])) {
            failedJobs << m_asked[i];
            failedStates << states[i];
        } else {
            completed << m_asked[i];
        }
    }
    m_asked.clear();
    if (!completed.isEmpty()) emit jobsCompleted(completed);
    if (!failedJobs.isEmpty()) emit jobsFailed(failedJobs, failedStates);
    if (m_jobs.isEmpty()) {
        m_timer.stop();
        emit allEnded();
    }
}
