#include "form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

Form::Form(const QString& objectName, const QString& caption) : QDialog(nullptr) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

int Form::showModal() {
    // Over the window that opened it: the window manager keeps it above that one, so a click on the
    // window beneath never hides it (and its prompts) behind.
    QWidget* opener =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    if (opener && opener->window() != this) {
        winId();
        if (QWindow* w = windowHandle()) w->setTransientParent(opener->window()->windowHandle());
    }
    return exec();
}

void keepOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds, when it is known already.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize room = area.size() - frame;
    if (window->width() > room.width() || window->height() > room.height()) {
        const QSize least = window->minimumSize().boundedTo(room);
        window->setMinimumSize(least);
        window->resize(window->size().boundedTo(room));
    }
    QRect outer = window->frameGeometry();
    outer.moveRight(std::min(outer.right(), area.right()));
    outer.moveBottom(std::min(outer.bottom(), area.bottom()));
    outer.moveLeft(std::max(outer.left(), area.left()));
    outer.moveTop(std::max(outer.top(), area.top()));
    if (outer.topLeft() != window->frameGeometry().topLeft()) window->move(outer.topLeft());
}

void Form::setFixedDialog(int width, int height) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(width, height);
}

void Form::setNoSystemMenu() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void Form::sourceChanged() {
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    guard(m_refresh);
}

void Form::catchUp() {
    if (!m_stale) return;
    m_stale = false;
    guard(m_refresh);
}

void Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) catchUp();
    if (!event->spontaneous() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        keepOnScreen(this);
    if (!event->spontaneous()) guard([this] { FormShow(); });
}

bool Form::event(QEvent* event) {
    const bool r = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) guard([this] { FormActivate(); });
    return r;
}

void Form::done(int result) {
    guard([this] { FormClose(); });
    // The opener of the next showing may be another window; this one's opener gets the keyboard back
    // (a window manager may leave it to no window at all).
    QWindow* opener = windowHandle() ? windowHandle()->transientParent() : nullptr;
    if (QWindow* w = windowHandle()) w->setTransientParent(nullptr);
    QDialog::done(result);
    if (opener && opener->isVisible() && !QApplication::activeModalWidget()) opener->requestActivate();
}

void Form::keyPressEvent(QKeyEvent* event) {
    // A dialog would close on Esc; these windows do not. Enter presses only a button made default.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        if (m_closesOnEscape) reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

QLabel* Form::label(const QString& objectName, const QString& text, bool bold) {
    auto* l = new QLabel(text, this);
    l->setObjectName(objectName);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

QLineEdit* Form::lineEdit(const QString& objectName) {
    auto* e = new QLineEdit(this);
    e->setObjectName(objectName);
    return e;
}

QPushButton* Form::speedButton(const QString& objectName, const QString& caption,
                               std::function<void()> onClick) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    b->setDefault(false);
    connect(b, &QPushButton::clicked, this, [this, onClick = std::move(onClick)] { guard(onClick); });
    return b;
}

QTimer* Form::clockTimer(std::function<void()> tick) {
    auto* t = new QTimer(this);
    t->setObjectName(QStringLiteral("Timer1"));
    t->setInterval(1000);
    connect(t, &QTimer::timeout, this, [this, tick = std::move(tick)] { guard(tick); });
    t->start();
    return t;
}
