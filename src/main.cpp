#include "gui/shell/startup.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvanta"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quorvanta.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    loadQtTranslations();
    return runProgram(defaultDatabasePath());
}
