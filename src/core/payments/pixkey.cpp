#include "pixkey.h"

#include <QRegularExpression>

namespace {

// The check digit the weights give (CPF and CNPJ alike): 0 for a remainder below 2, else 11 - r.
int checkDigit(const QString& s, qsizetype count, int firstWeight, bool cnpjWeights) {
    int sum = 0;
    int weight = firstWeight;
    for (qsizetype i = 0; i < count; ++i) {
        sum += (s.at(i).unicode() - '0') * weight;
        --weight;
        if (cnpjWeights && weight < 2) weight = 9;
    }
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

bool allSame(const QString& s) {
    return s.count(s.front()) == s.size();
}

PixKey refused(PixKey::Type type, const QString& text) {
    PixKey k;
    k.type = type;
    k.fault = text;
    return k;
}

PixKey good(PixKey::Type type, const QString& key) {
    PixKey k;
    k.type = type;
    k.key = key;
    return k;
}

PixKey cpf(const QString& d) {
    if (allSame(d))
        return refused(PixKey::Type::Cpf, QStringLiteral("CPF inválido: os onze dígitos são iguais."));
    if (checkDigit(d, 9, 10, false) != d.at(9).digitValue() ||
        checkDigit(d, 10, 11, false) != d.at(10).digitValue())
        return refused(PixKey::Type::Cpf,
                       QStringLiteral("CPF inválido: os dígitos verificadores não conferem."));
    return good(PixKey::Type::Cpf, d);
}

// The CNPJ of 14 digits, or of 12 letters and digits followed by 2 check digits: each character counts
// its ASCII code minus 48 ('0' is 0, 'A' is 17).
PixKey cnpj(const QString& typed) {
    const QString c = typed.toUpper();
    static const QRegularExpression form(QStringLiteral("^[0-9A-Z]{12}[0-9]{2}$"));
    if (!form.match(c).hasMatch())
        return refused(
            PixKey::Type::Cnpj,
            QStringLiteral("CNPJ inválido: são 12 letras ou dígitos seguidos de 2 dígitos verificadores."));
    if (allSame(c))
        return refused(PixKey::Type::Cnpj, QStringLiteral("CNPJ inválido: os caracteres são todos iguais."));
    if (checkDigit(c, 12, 5, true) != c.at(12).digitValue() ||
        checkDigit(c, 13, 6, true) != c.at(13).digitValue())
        return refused(PixKey::Type::Cnpj,
                       QStringLiteral("CNPJ inválido: os dígitos verificadores não conferem."));
    return good(PixKey::Type::Cnpj, c);
}

PixKey phone(const QString& typed) {
    QString p = typed;
    p.remove(QRegularExpression(QStringLiteral("[\\s().-]")));
    if (!p.startsWith(QStringLiteral("+55")))
        return refused(PixKey::Type::Phone,
                       QStringLiteral("Telefone inválido: a chave de telefone começa com +55."));
    static const QRegularExpression form(QStringLiteral("^\\+55[0-9]{2}9[0-9]{8}$"));
    if (!form.match(p).hasMatch())
        return refused(PixKey::Type::Phone,
                       QStringLiteral("Telefone inválido: depois de +55 vêm o DDD (2 dígitos) e o número do "
                                      "celular (9 dígitos, começando com 9)."));
    if (p.at(3) == QLatin1Char('0') || p.at(4) == QLatin1Char('0'))
        return refused(PixKey::Type::Phone,
                       QStringLiteral("Telefone inválido: o DDD %1 não existe.").arg(p.mid(3, 2)));
    return good(PixKey::Type::Phone, p);
}

PixKey email(const QString& typed) {
    const QString e = typed.toLower();
    if (e.size() > 77)
        return refused(PixKey::Type::Email,
                       QStringLiteral("E-mail inválido: a chave Pix aceita até 77 caracteres."));
    static const QRegularExpression form(QStringLiteral(
        "^[a-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[a-z0-9!#$%&'*+/=?^_`{|}~-]+)*@[a-z0-9]([a-z0-9-]*[a-z0-9])?"
        "(\\.[a-z0-9]([a-z0-9-]*[a-z0-9])?)+$"));
    if (!form.match(e).hasMatch())
        return refused(PixKey::Type::Email,
                       QStringLiteral("E-mail inválido: use a forma nome@provedor.com.br, sem "
                                      "espaços nem acentos."));
    return good(PixKey::Type::Email, e);
}

PixKey random(const QString& typed) {
    const QString r = typed.toLower();
    static const QRegularExpression form(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    if (!form.match(r).hasMatch())
        return refused(
            PixKey::Type::Random,
            QStringLiteral("Chave aleatória inválida: são 32 letras de a a f ou dígitos em cinco grupos "
                           "separados por hífen (8-4-4-4-12)."));
    return good(PixKey::Type::Random, r);
}

} // namespace

PixKey PixKey::check(const QString& typed) {
    const QString t = typed.trimmed();
    if (t.isEmpty()) return refused(Type::None, QStringLiteral("A chave Pix da festa não foi informada."));
    if (t.contains(QLatin1Char('@'))) return email(t);
    if (t.startsWith(QLatin1Char('+'))) return phone(t);
    if (t.count(QLatin1Char('-')) == 4 && t.size() >= 32) return random(t);
    QString bare = t;
    bare.remove(QRegularExpression(QStringLiteral("[\\s./-]")));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const bool onlyDigits = digits.match(bare).hasMatch();
    if (onlyDigits && bare.size() == 11) return cpf(bare);
    if (bare.size() == 14) return cnpj(bare);
    if (onlyDigits && (bare.size() == 12 || bare.size() == 13) && bare.startsWith(QStringLiteral("55")))
        return refused(Type::Phone, QStringLiteral("Telefone inválido: a chave de telefone começa com +55."));
    return refused(Type::None,
                   QStringLiteral("Chave Pix não reconhecida: digite um CPF, um CNPJ, um celular com +55 "
                                  "e DDD, um e-mail ou uma chave aleatória."));
}

QString PixKey::typeName(Type type) {
    switch (type) {
    case Type::Cpf:
        return QStringLiteral("CPF");
    case Type::Cnpj:
        return QStringLiteral("CNPJ");
    case Type::Phone:
        return QStringLiteral("telefone");
    case Type::Email:
        return QStringLiteral("e-mail");
    case Type::Random:
        return QStringLiteral("chave aleatória");
    case Type::None:
        break;
    }
    return QString();
}
