#include "testsupport.h"

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/errors.h"
#include "sales/u_caixa.h"
#include "shell/forms.h"
#include "till/tillmodel.h"

#include <QDialog>
#include <QFile>
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
    app.db.exec(QStringLiteral("update tbl_cont set cont = %1").arg(number.toLongLong() - 1));
    app.forms->till->open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("09/12/2026"),
                           QStringLiteral("13:00:00"), entrada},
                          number.toLongLong());
}

void setTillFigures(App& app, const QString& cash, const QString& withdrawn, int withdrawals) {
    app.db.exec(QStringLiteral("update tbl_caixa_atual set em_caixa = '%1'").arg(cash));
    if (!withdrawn.isNull())
        app.db.exec(QStringLiteral("update tbl_caixa_atual set sangria = '%1'").arg(withdrawn));
    if (withdrawals >= 0)
        app.db.exec(QStringLiteral("update tbl_caixa_atual set sangrias = %1").arg(withdrawals));
    app.forms->till->load();
}

void bookTallyRow(App& app, const QString& id, int tickets) {
    app.db.exec(QStringLiteral("insert into tbl_cont_vendas(id, produto, valor, quantidade) "
                               "values ('%1', 'X', '1,00', %2)")
                    .arg(id)
                    .arg(tickets));
    app.db.exec(QStringLiteral("insert into tbl_caixa_fichas(id, fichas) values (lower('%1'), %2) "
                               "on conflict(id) do update set fichas = fichas + excluded.fichas")
                    .arg(id)
                    .arg(tickets));
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
