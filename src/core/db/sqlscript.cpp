#include "sqlscript.h"

#include "core/base/errors.h"

#include <QFile>

namespace SqlScript {

namespace {

QString textOf(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) throw DbError(QStringLiteral("Recurso ausente: %1").arg(name));
    return QString::fromUtf8(f.readAll());
}

// Splits a script on semicolons that end a line, outside string literals.
QStringList split(const QString& script) {
    QStringList out;
    QString cur;
    bool inString = false;
    for (int i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!inString && c == QLatin1Char('-') && i + 1 < script.size() &&
            script[i + 1] == QLatin1Char('-')) {
            while (i < script.size() && script[i] != QLatin1Char('\n'))
                ++i;
            cur += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\'')) inString = !inString;
        if (c == QLatin1Char(';') && !inString) {
            if (!cur.trimmed().isEmpty()) out << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.trimmed().isEmpty()) out << cur.trimmed();
    return out;
}

} // namespace

QStringList statements(const QString& path) {
    return split(textOf(path));
}

} // namespace SqlScript
