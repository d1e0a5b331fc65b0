#include "foundation/errors.h"
#include "foundation/messages.h"
#include "shell/forms.h"
#include "shell/u_login.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvanta"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvanta 3.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/quorvanta.svg")));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString database = QDir::homePath() + QStringLiteral("/quorvanta/base.db");
    try {
        Forms forms(database);
        forms.onQuit = [] { QCoreApplication::quit(); };
        forms.f_login->show();
        return app.exec();
    } catch (const std::exception& e) {
        Messages::error(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
}
