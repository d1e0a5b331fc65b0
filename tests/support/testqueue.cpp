#include "testqueue.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

#include <algorithm>

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
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return a.section('-', 0, 0).toInt() < b.section('-', 0, 0).toInt();
    });
    return files;
}

bool TestQueue::run(const QString& program, const QStringList& args) const {
    return admin(program, QStringList(args) << name);
}

bool TestQueue::idle() const {
    QString jobs;
    return admin(QStringLiteral("lpstat"), {QStringLiteral("-o"), name}, &jobs) && jobs.trimmed().isEmpty();
}

} // namespace TestSupport
