#pragma once

// A print queue of the tests' own on the real print server, and the administration commands that make it.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace TestSupport {

// Runs an administration command to its end; false when it is missing, fails or takes over 30 s.
bool admin(const QString& program, const QStringList& args, QString* output = nullptr);

// A print queue of the test's own, removed with it. Its backend (scripts/cups-backend-teste) copies each
// job into <folder>/saida as <job>-<title>.pdf (a job printed again once more, as <job>.<n>-<title>.pdf),
// or fails it as the control file says; the queue aborts a job whose backend failed.
class TestQueue {
public:
    explicit TestQueue(const QString& what);
    ~TestQueue();
    // Empty when added; otherwise why the test must be skipped.
    QString add();
    void control(const QString& lines) const;
    // The prints the backend made: "<job>-<title>.pdf" (then "<job>.<n>-<title>.pdf"), in job order.
    QStringList printed() const;
    bool run(const QString& program, const QStringList& args = {}) const;
    // The title of each job the server lists for the queue, in job order; empty where the list leaves it
    // out (cupsd does for a job that ended, once it has put the job's attributes away).
    QStringList titles() const;
    // Whether the queue has no job left to print.
    bool idle() const;

    const QString name;

private:
    QTemporaryDir m_dir;
    bool m_added = false;
};

} // namespace TestSupport
