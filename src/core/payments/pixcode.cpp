#include "pixcode.h"

#include "core/payments/paymenterror.h"
#include "core/payments/pixkey.h"

#include <QRegularExpression>

namespace PixCode {

namespace {

constexpr qsizetype amountWidth = 13; // field 54: at most 13 characters, "9999999999.99"

QString field(const char* id, const QString& value) {
    if (value.size() > 99)
        throw PaymentError(
            QStringLiteral("O campo %1 do código Pix passa de 99 caracteres.").arg(QLatin1String(id)));
    return QLatin1String(id) + QStringLiteral("%1").arg(value.size(), 2, 10, QLatin1Char('0')) + value;
}

QString amountText(qint64 cents) {
    if (cents <= 0) throw PaymentError(QStringLiteral("O valor do Pix deve ser maior que zero."));
    QString text = QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
    if (text.size() > amountWidth)
        throw PaymentError(QStringLiteral("Valor alto demais para o código Pix (até 13 caracteres)."));
    return text;
}

} // namespace

quint16 crc16(const QByteArray& data) {
    quint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= quint16(quint8(c)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}

QString crcText(const QByteArray& data) {
    return QStringLiteral("%1").arg(crc16(data), 4, 16, QLatin1Char('0')).toUpper();
}

QString ascii(const QString& text, int limit) {
    QString out;
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F)
            out += c;
        else if (c.isSpace())
            out += QLatin1Char(' ');
    }
    out = out.simplified();
    return out.left(limit).trimmed();
}

QString txid(int desk, qint64 till, qint64 sale) {
    QString id = QStringLiteral("D%1T%2V%3")
                     .arg(desk, 2, 10, QLatin1Char('0'))
                     .arg(till, 4, 10, QLatin1Char('0'))
                     .arg(sale, 6, 10, QLatin1Char('0'));
    if (desk < 0 || till < 0 || sale < 0 || id.size() > 25)
        throw PaymentError(QStringLiteral("Identificador do Pix longo demais para o código."));
    return id;
}

QString payload(const Fields& f) {
    const PixKey key = PixKey::check(f.key);
    if (key.type == PixKey::Type::None && f.key.trimmed().isEmpty())
        throw PaymentError(QStringLiteral("A chave Pix da festa não foi configurada: informe-a antes de "
                                          "receber por Pix."));
    if (!key.isValid()) throw PaymentError(key.fault);
    const QString name = ascii(f.name, 25);
    const QString city = ascii(f.city, 15);
    if (name.isEmpty()) throw PaymentError(QStringLiteral("Informe o nome de quem recebe o Pix."));
    if (city.isEmpty()) throw PaymentError(QStringLiteral("Informe a cidade de quem recebe o Pix."));
    static const QRegularExpression txidForm(QStringLiteral("^[A-Za-z0-9]{1,25}$"));
    if (!f.txid.isEmpty() && !txidForm.match(f.txid).hasMatch())
        throw PaymentError(QStringLiteral("O identificador do Pix aceita só letras e dígitos, até 25."));

    QString p = field("00", QStringLiteral("01"));
    p += field("26", field("00", QStringLiteral("br.gov.bcb.pix")) + field("01", key.key));
    p += field("52", QStringLiteral("0000"));
    p += field("53", QStringLiteral("986"));
    if (f.cents) p += field("54", amountText(*f.cents));
    p += field("58", QStringLiteral("BR"));
    p += field("59", name);
    p += field("60", city);
    p += field("62", field("05", f.txid.isEmpty() ? QStringLiteral("***") : f.txid));
    p += QStringLiteral("6304");
    return p + crcText(p.toLatin1());
}

} // namespace PixCode
