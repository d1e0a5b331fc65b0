#include "startup.h"

#include "gui/common/messages.h"
#include "gui/shell/application.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

QString defaultDatabasePath() {
    return QDir::homePath() + QStringLiteral("/quorvanta/base.db");
}

void endsTheEventLoopOnQuit(Application& application) {
    application.onQuit = [] { QCoreApplication::quit(); };
}

bool loadQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int runProgram(const QString& databasePath) {
    std::unique_ptr<Application> application;
    if (!Messages::guarded(nullptr, [&] { application = std::make_unique<Application>(databasePath); }))
        return 1;
    endsTheEventLoopOnQuit(*application);
    application->start();
    return QApplication::exec();
}
