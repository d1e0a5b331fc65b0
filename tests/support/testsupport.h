#pragma once

#include <QApplication>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "gui/common/messages.h"
#include "support/coresupport.h"

class Application;

// Runs a test class on the offscreen platform unless the caller chose one.
#define QUORVANTA_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char** argv) {                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        QApplication app(argc, argv);                                                                        \
        QApplication::setQuitOnLastWindowClosed(false);                                                      \
        TestClass tc;                                                                                        \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

namespace TestSupport {

struct RecordedMessage {
    Messages::Kind kind;
    QString caption;
    QString text;
};

// Records every message box instead of showing it.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QList<RecordedMessage> messages;
    QStringList texts() const;
    QString last() const { return messages.isEmpty() ? QString() : messages.last().text; }
    void clear() { messages.clear(); }
    std::function<void(const RecordedMessage&)> onMessage; // called after recording
    std::function<bool(const QString& question)> answer;   // answers questions ("Não" when not set)
};

// The whole program on a fresh database, printing to a recorder, messages recorded, clock fixed.
class App {
public:
    App();
    ~App();
    TestDatabase db;
    RecordingPrintSink printer;
    MessageRecorder messages;
    std::unique_ptr<Application> app;
};

// A till opened as the opening does it, without printing or showing anything: MARIA, JOSE,
// 09/12/2026 13:00:00, the float as cash, no withdrawals, every count 0, an empty tally and sale.
void setTillOpen(App& app, const QString& number = QStringLiteral("8"),
                 const QString& entrada = QStringLiteral("50"));
// The open till's figures stored as given, as if earlier steps had left them (a null withdrawn text
// or a negative count keeps what is stored), then read back by the till.
void setTillFigures(App& app, const QString& cash, const QString& withdrawn = QString(),
                    int withdrawals = -1);
// One completed sale line of that key and tickets, booked as a sale books it (tally row and count).
void bookTallyRow(App& app, const QString& id, int tickets);

// Runs `action` on the modal window with that object name as soon as it is the active modal window
// (from inside the modal loop of whoever showed it); warns when it never shows. When a check
// inside `action` failed, every modal window is closed afterwards so the test ends.
void whenModal(const QString& objectName, std::function<void(QWidget*)> action, int timeoutMs = 5000);

// The child widget of that object name, or a failed test.
template <class T = QWidget> T* child(QObject* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qWarning("no child named %s", qPrintable(name));
    return w;
}

// The window as it shows: a hidden window is not repainted on a change of the till, so its figures
// are read after it has caught up.
template <class W> W* current(W* window) {
    window->catchUp();
    return window;
}

// Typing (accented letters included) and keys, delivered to the widget.
void type(QWidget* target, const QString& text);
void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Keys as the keyboard delivers them: to whatever holds the focus in the active modal window
// (or the active window when none is modal).
void typeActive(const QString& text);
void keyActive(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace TestSupport
