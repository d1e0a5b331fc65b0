#include "messages.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace Messages {

namespace {

Handler& handler() {
    static Handler h;
    return h;
}

Answerer& answerer() {
    static Answerer a;
    return a;
}

void show(QWidget* parent, Kind kind, const QString& caption, const QString& text) {
    if (handler()) {
        handler()(kind, caption, text);
        return;
    }
    QMessageBox box(kind == Kind::Plain ? QMessageBox::NoIcon : QMessageBox::Critical, caption, text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    fitCaption(box);
    box.exec();
}

} // namespace

void fitCaption(QMessageBox& box) {
    // A short text makes a narrow box whose title bar cuts the caption ("ATE…ÃO!"): the box is made at
    // least as wide as the caption in the title bar's bold font, with room for its icon and buttons.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 140;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
}

void warning(QWidget* parent, const QString& text) {
    show(parent, Kind::Warning, warningCaption, text);
}

void plain(QWidget* parent, const QString& text) {
    show(parent, Kind::Plain, appTitle, text);
}

void error(QWidget* parent, const QString& text) {
    show(parent, Kind::Error, appTitle, text);
}

bool question(QWidget* parent, const QString& text) {
    if (handler()) {
        handler()(Kind::Question, appTitle, text);
        return answerer() && answerer()(text);
    }
    QMessageBox box(QMessageBox::Question, appTitle, text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    QPushButton* yes = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("bt_sim"));
    no->setObjectName(QStringLiteral("bt_nao"));
    box.setEscapeButton(no);
    box.setDefaultButton(no);
    fitCaption(box);
    box.exec();
    return box.clickedButton() == yes;
}

void setAnswerer(Answerer a) {
    answerer() = std::move(a);
}

void setHandler(Handler h) {
    handler() = std::move(h);
}

} // namespace Messages
