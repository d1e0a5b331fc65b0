#include "printserver.h"
#include "printserverlink.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <cups/cups.h>

namespace PrintServer {

using namespace PrintServerLink;

namespace {
JobState stateOf(int state) {
    switch (state) {
    case IPP_JSTATE_PENDING:
        return JobState::Pending;
    case IPP_JSTATE_HELD:
        return JobState::Held;
    case IPP_JSTATE_PROCESSING:
        return JobState::Processing;
    case IPP_JSTATE_STOPPED:
        return JobState::Stopped;
    case IPP_JSTATE_CANCELED:
        return JobState::Canceled;
    case IPP_JSTATE_ABORTED:
        return JobState::Aborted;
    case IPP_JSTATE_COMPLETED:
        return JobState::Completed;
    default:
        return JobState::Unknown;
    }
}

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
    if (response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING)
        s = stateOf(ippGetInteger(ippFindAttribute(response, "job-state", IPP_TAG_ENUM), 0));
    ippDelete(response);
    return s;
}

// A job as the server describes it.
struct Described {
    int id = 0;
    QByteArray title;
    JobState state = JobState::Unknown;
    int documents = 0;
};

const char* const described[] = {"job-id", "job-name", "job-state", "number-of-documents"};

// The jobs of an answer, one group of attributes each.
QList<Described> jobsOf(ipp_t* response) {
    QList<Described> jobs;
    Described job;
    const auto take = [&] {
        if (job.id > 0) jobs << job;
        job = Described();
    };
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char* n = ippGetName(a);
        if (!n) // the end of a group
            take();
        else if (qstrcmp(n, "job-id") == 0)
            job.id = ippGetInteger(a, 0);
        else if (qstrcmp(n, "job-state") == 0)
            job.state = stateOf(ippGetInteger(a, 0));
        else if (qstrcmp(n, "number-of-documents") == 0)
            job.documents = ippGetInteger(a, 0);
        else if (qstrcmp(n, "job-name") == 0)
            job.title = ippGetString(a, 0, nullptr);
    }
    take();
    return jobs;
}

// Asks one job for what its entry in the list left out; false when the server did not answer (a job it
// no longer knows is left as it was, without a title).
bool describe(http_t* http, Described& job) {
    ipp_t* request = jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, job.id);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(described)), nullptr, described);
    ipp_t* response = cupsDoRequest(http, request, "/");
    const bool ok = response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
    const bool answered = ok || (response && lastErrorIsNotFound());
    if (ok)
        for (const Described& d : jobsOf(response))
            if (d.id == job.id) job = d;
    ippDelete(response);
    return answered;
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
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(described)), nullptr, described);
    ipp_t* response = cupsDoRequest(connection.get(), request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        // a printer the server does not know has no jobs; any other failure tells nothing
        found.answered = response && lastErrorIsNotFound();
        ippDelete(response);
        return found;
    }
    QList<Described> jobs = jobsOf(response);
    ippDelete(response);
    std::sort(jobs.begin(), jobs.end(), [](const Described& a, const Described& b) { return a.id > b.id; });
    const QByteArray whole = document.toUtf8();
    const QByteArray suffix = '-' + whole;
    for (Described& job : jobs) { // the newest first
        // The server lists a job that ended without its title once it has put the job's attributes
        // away (a second or so after the end); asked alone, the job tells it.
        if (job.title.isEmpty() && !describe(connection.get(), job)) return found;
        if (job.title == whole || job.title.endsWith(suffix)) {
            found.id = job.id;
            found.state = job.state;
            found.documents = job.documents;
            break;
        }
    }
    found.answered = true;
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
