#pragma once

// What tests of the core need: the delivered database in a folder of its own, a print recorder,
// ticket-like pages and the platform they run on. Nothing here needs a window.

#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

#include "core/print/report.h"

// Runs a test class of the core on the offscreen platform unless the caller chose one.
#define QUORVANTA_CORE_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char** argv) {                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        QGuiApplication app(argc, argv);                                                                     \
        TestClass tc;                                                                                        \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

namespace TestSupport {

void prepareEnvironment();
// Before the application is made: the offscreen platform with one screen of that size ("1366x768").
void offscreenOfSize(const QByteArray& size);

// A fresh copy of the delivered database in its own temporary folder.
class TestDatabase {
public:
    TestDatabase();
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // Runs statements straight on the file, outside the program (to prepare or inspect a case).
    void exec(const QString& sql) const;
    QList<QStringList> rows(const QString& sql) const; // every column as text
    QString scalar(const QString& sql) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// One printed job: the report's name and each element's text by element name.
struct PrintedJob {
    QString report;
    QMap<QString, QString> texts;
    QStringList allTexts; // in layout order, empty ones included
    QString text(const QString& element) const { return texts.value(element); }
};

// Records every print instead of printing; each job gets the destination "gravador" and the next id
// (1, 2, ...). failAfter >= 0 makes the job with that index (0-based) and every later one fail with a
// print error.
class RecordingPrintSink : public PrintSink {
public:
    RecordingPrintSink();
    ~RecordingPrintSink() override;
    PrintJob print(const Report& report) override;
    void beginBatch() override { ++batches; }
    QList<PrintedJob> jobs;
    int failAfter = -1;
    int attempts = 0;
    int batches = 0; // print sessions opened
    QList<PrintedJob> jobsOf(const QString& report) const;
};

// A page laid out like a ticket (90 x 135 mm, header, large text, footer in fixed boxes), for print
// tests that need no data module; shrink > 0 lets each text print down to that share of its size.
Report ticketReport(const QString& name, const QString& text, double shrink = 0);

// Keeps every core of the machine busy while it lives, at most `limitMs` (a step under test runs as on a
// loaded machine: the print server, the database and the program's restart all wait for a core).
class CpuLoad {
public:
    explicit CpuLoad(int limitMs = 120000);
    ~CpuLoad();
    CpuLoad(const CpuLoad&) = delete;
    CpuLoad& operator=(const CpuLoad&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

// The p-th quantile (0..1) of the values, interpolated between the two nearest ranks (benchmarks).
double percentile(QList<double> values, double p);

// A report's page painted onto a white image at `dotsPerMm`, as it would print.
QImage paintReport(const Report& report, double dotsPerMm);

} // namespace TestSupport
