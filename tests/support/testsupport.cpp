#include "testsupport.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/till/tillmodel.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"

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

MessageRecorder::MessageRecorder() {
    Messages::setHandler([this](Messages::Kind kind, const QString& caption, const QString& text) {
        messages << RecordedMessage{kind, caption, text};
        if (onMessage) onMessage(messages.last());
    });
    Messages::setAnswerer([this](const QString& text) { return answer && answer(text); });
}

MessageRecorder::~MessageRecorder() {
    Messages::setAnswerer({});
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
    app = std::make_unique<Application>(db.path());
}

App::~App() {
    app.reset();
    Clock::setFixed(QDateTime());
}

void setTillOpen(App& app, const QString& number, const QString& entrada) {
    app.db.exec(QStringLiteral("update tbl_cont set cont = %1").arg(number.toLongLong() - 1));
    app.app->till->open({QStringLiteral("MARIA"), QStringLiteral("JOSE"), QStringLiteral("09/12/2026"),
                         QStringLiteral("13:00:00"), entrada},
                        number.toLongLong());
}

void setTillFigures(App& app, const QString& cash, const QString& withdrawn, int withdrawals) {
    app.db.exec(QStringLiteral("update tbl_caixa_atual set em_caixa = '%1'").arg(cash));
    if (!withdrawn.isNull())
        app.db.exec(QStringLiteral("update tbl_caixa_atual set sangria = '%1'").arg(withdrawn));
    if (withdrawals >= 0)
        app.db.exec(QStringLiteral("update tbl_caixa_atual set sangrias = %1").arg(withdrawals));
    app.app->till->load();
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
        if (auto* till = qobject_cast<SalesWindow*>(w))
            till->closeTill();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    }
}
} // namespace

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
