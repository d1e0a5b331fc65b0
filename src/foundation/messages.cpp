#include "messages.h"

#include <QMessageBox>

namespace Messages {

namespace {

Handler& handler() {
    static Handler h;
    return h;
}

void show(QWidget* parent, Kind kind, const QString& caption, const QString& text) {
    if (handler()) {
        handler()(kind, caption, text);
        return;
    }
    QMessageBox box(kind == Kind::Plain ? QMessageBox::NoIcon : QMessageBox::Critical, caption, text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

} // namespace

void warning(QWidget* parent, const QString& text) {
    show(parent, Kind::Warning, warningCaption, text);
}

void plain(QWidget* parent, const QString& text) {
    show(parent, Kind::Plain, appTitle, text);
}

void error(QWidget* parent, const QString& text) {
    show(parent, Kind::Error, appTitle, text);
}

void setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace Messages
