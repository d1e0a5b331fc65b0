#include "testsupport.h"

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/errors.h"
#include "sales/u_caixa.h"
#include "shell/forms.h"
#include "till/u_parcial.h"

#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QWindow>

namespace TestSupport {

void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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

MessageRecorder::MessageRecorder() {
    Messages::setHandler([this](Messages::Kind kind, const QString& caption, const QString& text) {
        messages << RecordedMessage{kind, caption, text};
        if (onMessage) onMessage(messages.last());
    });
}

MessageRecorder::~MessageRecorder() {
    Messages::setHandler({});
}

QStringList MessageRecorder::texts() const {
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

App::App() {
    Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 33)));
    forms = std::make_unique<Forms>(db.path());
}

App::~App() {
    forms.reset();
    Clock::setFixed(QDateTime());
}

void setTillOpen(App& app, const QString& number, const QString& entrada) {
    Tf_caixa* c = app.forms->f_caixa;
    c->l_responsavel->setText(QStringLiteral("MARIA"));
    c->l_operador->setText(QStringLiteral("JOSE"));
    c->l_entrada->setText(entrada);
    c->l_caixa->setText(number);
    Tf_parcial* p = app.forms->f_parcial;
    p->lresponsavel->setText(QStringLiteral("MARIA"));
    p->loperador->setText(QStringLiteral("JOSE"));
    p->ldata->setText(QStringLiteral("09/12/2026"));
    p->lhora->setText(QStringLiteral("13:00:00"));
    p->lentrada->setText(entrada);
    p->lenter->setText(entrada);
    p->lcaixa->setText(entrada);
    p->lsangria->setText(QStringLiteral("0,00"));
    p->lcont_sangria->setText(QStringLiteral("0"));
    for (const QChar k : Tf_parcial::keys())
        p->countLabel(k)->setText(QStringLiteral("0"));
    app.db.exec(QStringLiteral("delete from tbl_cont_vendas"));
}

namespace {
// After a failed check nobody will close the windows the test opened: close them so it ends.
void closeEveryModalWindow() {
    for (int i = 0; i < 20; ++i) {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return;
        if (auto* till = qobject_cast<Tf_caixa*>(w))
            till->closeTill();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    }
}
} // namespace

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

void whenModal(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->objectName() == objectName && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(w);
            if (QTest::currentTestFailed()) closeEveryModalWindow();
            return;
        }
        *waited += 10;
        if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("modal window %s never showed (active: %s)", qPrintable(objectName),
                     w ? qPrintable(w->objectName()) : "none");
            if (w) w->close();
        }
    });
    timer->start();
}

void type(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            // QTest only knows ASCII keys: accented letters arrive as text
            QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(target, k, modifiers);
}

} // namespace TestSupport

namespace TestSupport {

namespace {
QWindow* activeWindowHandle() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w ? w->windowHandle() : nullptr;
}
} // namespace

void typeActive(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(activeWindowHandle(), c.toLatin1());
}

void keyActive(Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(activeWindowHandle(), k, modifiers);
}

} // namespace TestSupport
