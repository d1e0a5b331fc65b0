#include "engineerror.h"

#include "core/base/errors.h"

#include <QRegularExpression>
#include <QSqlError>

namespace EngineError {

namespace {

// Primary result codes of the engine.
enum Code {
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Constraint = 19,
    NotADatabase = 26,
};

QString engineText(const QSqlError& e) {
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

int codeOf(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

QString withDetail(const QString& text, const QString& detail) {
    return detail.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, detail);
}

} // namespace

Kind kindOf(const QSqlError& e) {
    const QString text = engineText(e);
    switch (codeOf(e)) {
    case Busy:
    case Locked:
        return Kind::Busy;
    case ReadOnly:
        return Kind::ReadOnly;
    case Full:
        return Kind::Full;
    case Corrupt:
    case NotADatabase:
        return Kind::Damaged;
    case CantOpen:
        return Kind::CannotOpen;
    case Constraint:
        return Kind::Refused;
    default:
        break;
    }
    // Errors raised before a statement runs carry no code; their text tells them apart.
    if (text.contains(QLatin1String("database is locked")) || text.contains(QLatin1String("is busy")))
        return Kind::Busy;
    if (text.contains(QLatin1String("readonly database"))) return Kind::ReadOnly;
    if (text.contains(QLatin1String("disk is full"))) return Kind::Full;
    if (text.contains(QLatin1String("malformed")) || text.contains(QLatin1String("not a database")))
        return Kind::Damaged;
    if (text.contains(QLatin1String("unable to open database"))) return Kind::CannotOpen;
    if (text.startsWith(QLatin1String("no such table")) || text.startsWith(QLatin1String("no such column")))
        return Kind::MissingTable;
    if (text.contains(QLatin1String("constraint failed"))) return Kind::Refused;
    return Kind::Other;
}

QString message(const QSqlError& e) {
    QString text = engineText(e);
    switch (kindOf(e)) {
    case Kind::Busy:
        return withDetail(QStringLiteral("A base de dados está em uso por outro programa. Feche o outro "
                                         "programa que usa o arquivo e tente de novo."),
                          text);
    case Kind::ReadOnly:
        return withDetail(QStringLiteral("A base de dados está somente para leitura: nada pode ser gravado. "
                                         "Confira a permissão de gravação do arquivo e da sua pasta."),
                          text);
    case Kind::Full:
        return withDetail(QStringLiteral("O disco está cheio: não foi possível gravar na base de dados. "
                                         "Libere espaço no disco e tente de novo."),
                          text);
    case Kind::Damaged:
        return withDetail(QStringLiteral("O arquivo da base de dados está danificado. Restaure uma cópia "
                                         "de segurança do arquivo."),
                          text);
    case Kind::CannotOpen:
        return withDetail(QStringLiteral("Não foi possível abrir o arquivo da base de dados. Confira se "
                                         "ele existe e se a sua pasta permite gravação."),
                          text);
    case Kind::MissingTable: {
        static const QRegularExpression name(QStringLiteral("^no such (?:table|column): (\\S+)"));
        const auto m = name.match(text);
        return withDetail(QStringLiteral("A base de dados não tem %1: o arquivo está incompleto ou não é "
                                         "deste sistema. Restaure uma cópia de segurança do arquivo.")
                              .arg(m.hasMatch() ? QStringLiteral("'%1'").arg(m.captured(1))
                                                : QStringLiteral("uma tabela do sistema")),
                          text);
    }
    case Kind::Refused: {
        // A named check constraint carries the user's message.
        static const QRegularExpression check(QStringLiteral("^CHECK constraint failed: (.*)$"));
        const auto c = check.match(text);
        if (c.hasMatch()) return c.captured(1);
        static const QRegularExpression unique(QStringLiteral("^UNIQUE constraint failed: (\\w+)\\.(\\w+)"));
        const auto u = unique.match(text);
        if (u.hasMatch())
            return QStringLiteral(
                       "Não foi possível gravar: já existe um registro com este valor no campo '%1' "
                       "de %2 (índice único). Escolha outro valor.")
                .arg(u.captured(2), u.captured(1));
        // A trigger's own refusal carries its text as written.
        if (!text.contains(QLatin1String("constraint failed"))) return text;
        return withDetail(QStringLiteral("A base de dados recusou o valor. Confira o que foi digitado."),
                          text);
    }
    case Kind::Other:
        break;
    }
    return text;
}

void raise(const QSqlError& e) {
    throw DbError(message(e));
}

} // namespace EngineError
