// Writes the delivered database (schema and seed) to the path given on the command line.
#include "core/base/errors.h"
#include "core/db/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: quorvanta-base ARQUIVO\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        Database::createDelivered(path);
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
