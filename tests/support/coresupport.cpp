#include "coresupport.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/database.h"

#include <QFile>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <chrono>

namespace TestSupport {

void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void offscreenOfSize(const QByteArray& size) {
    static QTemporaryDir dir;
    const QList<QByteArray> wh = size.split('x');
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (wh.size() != 2 || !config.open(QIODevice::WriteOnly))
        qFatal("no screen of size %s", size.constData());
    config.write("{\"screens\": [{\"name\": \"tela\", \"x\": 0, \"y\": 0, \"width\": " + wh[0] +
                 ", \"height\": " + wh[1] + ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
}

TestDatabase::TestDatabase() {
    m_path = m_dir.filePath(QStringLiteral("base.db"));
    Database::createDelivered(m_path);
}

namespace {
template <class F> void withConnection(const QString& path, F&& f) {
    static int n = 0;
    const QString name = QStringLiteral("test-direct-%1").arg(++n);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) qFatal("cannot open %s", qPrintable(path));
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
} // namespace

void TestDatabase::exec(const QString& sql) const {
    withConnection(m_path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    });
}

QList<QStringList> TestDatabase::rows(const QString& sql) const {
    QList<QStringList> out;
    withConnection(m_path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i).toString();
            out << row;
        }
    });
    return out;
}

QString TestDatabase::scalar(const QString& sql) const {
    const auto r = rows(sql);
    return r.isEmpty() || r.first().isEmpty() ? QString() : r.first().first();
}

RecordingPrintSink::RecordingPrintSink() {
    Printing::setSink(this);
}

RecordingPrintSink::~RecordingPrintSink() {
    Printing::setSink(nullptr);
}

PrintJob RecordingPrintSink::print(const Report& report) {
    const int index = attempts++;
    if (failAfter >= 0 && index >= failAfter) throw PrintError(QStringLiteral("Impressora sem papel"));
    PrintedJob job;
    job.report = report.name();
    for (const ReportElement& e : report.elements()) {
        const QString t = e.text();
        job.allTexts << t;
        if (!e.name.isEmpty()) job.texts.insert(e.name, t);
    }
    jobs << job;
    return PrintJob{QStringLiteral("gravador"), int(jobs.size())};
}

QList<PrintedJob> RecordingPrintSink::jobsOf(const QString& report) const {
    QList<PrintedJob> out;
    for (const PrintedJob& j : jobs)
        if (j.report == report) out << j;
    return out;
}

double percentile(QList<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double rank = p * double(v.size() - 1);
    const int lo = int(rank);
    const int hi = std::min(lo + 1, int(v.size()) - 1);
    return v[lo] + (v[hi] - v[lo]) * (rank - lo);
}

Report ticketReport(const QString& name, const QString& text, double shrink) {
    Report r(name, 90.0, 135.0);
    const int band = r.addBand(QStringLiteral("detail"), 29.10);
    const struct {
        const char* name;
        QString text;
        double top, height, size;
    } boxes[] = {{"cabecalho", QStringLiteral("FESTA JUNINA DA PARÓQUIA"), 1.32, 5.03, 11},
                 {"impresso", text, 8.73, 11.91, 28},
                 {"rodape", QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 23.28, 5.03, 10}};
    for (const auto& b : boxes) {
        ReportElement& e =
            r.label(band, QString::fromLatin1(b.name), b.text, 0.26, b.top, 81.49, b.size, true);
        e.autoSize = false;
        e.wordWrap = true;
        e.height = b.height;
        e.alignment = Qt::AlignHCenter;
        e.minPointSize = b.size * shrink;
    }
    r.flowsOnRoll = true;
    return r;
}

QImage paintReport(const Report& r, double dpm) {
    QImage image(qRound(r.pageSizeMm().width() * dpm), qRound(r.pageSizeMm().height() * dpm),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpm * 1000));
    image.setDotsPerMeterY(qRound(dpm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    r.paint(painter, dpm);
    return image;
}

CpuLoad::CpuLoad(int limitMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (int i = 0; i < std::max(2, QThread::idealThreadCount()); ++i)
        m_threads.emplace_back([this, until] {
            volatile unsigned x = 1;
            while (!m_stop.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < until)
                for (int k = 0; k < 100000; ++k)
                    x = x * 1664525U + 1013904223U;
        });
}

CpuLoad::~CpuLoad() {
    m_stop = true;
    for (std::thread& t : m_threads)
        t.join();
}

} // namespace TestSupport
