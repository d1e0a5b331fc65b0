#include "form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

Form::Form(Forms& f, const QString& objectName, const QString& caption) : QDialog(nullptr), forms(f) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
}

int Form::showModal() {
    return exec();
}

void Form::setFixedDialog(int width, int height) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(width, height);
}

void Form::setNoSystemMenu() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) guard([this] { FormShow(); });
}

bool Form::event(QEvent* event) {
    const bool r = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) guard([this] { FormActivate(); });
    return r;
}

void Form::done(int result) {
    guard([this] { FormClose(); });
    QDialog::done(result);
}

void Form::keyPressEvent(QKeyEvent* event) {
    // A dialog would close on Esc; these windows do not. Enter presses only a button made default.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
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
