#include "testqueue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cups/cups.h>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace TestSupport {

// Runs an administration command to its end; false when it is missing, fails or takes over 30 s.
bool admin(const QString& program, const QStringList& args, QString* output) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return false;
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (output) *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

TestQueue::TestQueue(const QString& what)
    : name(QStringLiteral("Quorvanta_Teste_%1_%2").arg(what).arg(getpid())) {}

TestQueue::~TestQueue() {
    if (m_added) admin(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
}

QString TestQueue::add() {
    if (geteuid() != 0) return QStringLiteral("adding a print queue needs root");
    if (!admin(QStringLiteral("lpstat"), {QStringLiteral("-r")}))
        return QStringLiteral("no print server running");
    if (!QFile::exists(QStringLiteral("/usr/lib/cups/backend/quorvanta-teste")))
        return QStringLiteral("the tests' print backend is not installed (run scripts/setup-cups-pdf.sh)");
    m_added =
        admin(QStringLiteral("lpadmin"),
              {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
               QStringLiteral("quorvanta-teste:") + m_dir.path(), QStringLiteral("-m"), QStringLiteral("raw"),
               QStringLiteral("-o"), QStringLiteral("printer-error-policy=abort-job")});
    return m_added ? QString() : QStringLiteral("could not add a print queue");
}

void TestQueue::control(const QString& lines) const {
    QFile f(m_dir.filePath(QStringLiteral("controle")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the control file");
    f.write(lines.toUtf8());
}

QStringList TestQueue::printed() const {
    QStringList files =
        QDir(m_dir.filePath(QStringLiteral("saida"))).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    // "<job>-<title>.pdf", or "<job>.<n>-<title>.pdf" for a job's n-th print
    const auto order = [](const QString& f) {
        const QString number = f.section('-', 0, 0);
        return std::pair(number.section('.', 0, 0).toInt(), number.section('.', 1).toInt());
    };
    std::sort(files.begin(), files.end(),
              [&](const QString& a, const QString& b) { return order(a) < order(b); });
    return files;
}

bool TestQueue::run(const QString& program, const QStringList& args) const {
    return admin(program, QStringList(args) << name);
}

QStringList TestQueue::titles() const {
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http) return {};
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.toUtf8().constData());
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    static const char* const wanted[] = {"job-id", "job-name"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    std::map<int, QString> jobs;
    int id = 0;
    QString title;
    for (ipp_attribute_t* a = ippFirstAttribute(response);; a = ippNextAttribute(response)) {
        const char* n = a ? ippGetName(a) : nullptr;
        if (!n) { // the end of a job's group
            if (id > 0) jobs[id] = title;
            id = 0;
            title.clear();
            if (!a) break;
        } else if (qstrcmp(n, "job-id") == 0) {
            id = ippGetInteger(a, 0);
        } else if (qstrcmp(n, "job-name") == 0) {
            title = QString::fromUtf8(ippGetString(a, 0, nullptr));
        }
    }
    ippDelete(response);
    httpClose(http);
    QStringList out;
    for (const auto& [job, t] : jobs)
        out << t;
    return out;
}

bool TestQueue::idle() const {
    QString jobs;
    return admin(QStringLiteral("lpstat"), {QStringLiteral("-o"), name}, &jobs) && jobs.trimmed().isEmpty();
}

} // namespace TestSupport
