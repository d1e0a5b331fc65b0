#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The static Pix code ("BR Code") of one payment, built here without any network: fields of two-digit
// id, two-digit length and value, closed by the CRC-16/CCITT-FALSE of everything before it.
namespace PixCode {

struct Fields {
    QString key;                 // as typed; checked with PixKey
    QString name;                // receiver: folded to ASCII, at most 25 characters
    QString city;                // folded to ASCII, at most 15 characters
    std::optional<qint64> cents; // none: the payer types the amount
    QString txid;                // letters and digits, at most 25; empty is "***"
};

// The payload, CRC included. Raises PaymentError, with nothing built, for a key not set or not valid,
// no name or city, an amount of zero or below or too long for its field, a txid not of letters and
// digits or longer than 25.
QString payload(const Fields& fields);

// CRC-16/CCITT-FALSE (polynomial 0x1021, initial 0xFFFF, no reflection, no final xor).
quint16 crc16(const QByteArray& data);
// The same as the four upper-case hexadecimal digits the code ends with.
QString crcText(const QByteArray& data);

// A text as the code carries it: accents taken off ("São João" is "Sao Joao"), any other character
// outside printable ASCII dropped, spaces collapsed, cut to `limit` characters.
QString ascii(const QString& text, int limit);

// The txid of one sale: desk, till number and sale number in letters and digits ("D02T0017V000123"),
// so that a credit carrying it names its sale. Raises PaymentError when it would pass 25 characters.
QString txid(int desk, qint64 till, qint64 sale);

} // namespace PixCode
