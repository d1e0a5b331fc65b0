#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One credit of the festa's Pix account, as the bank's statement tells it.
struct StatementCredit {
    QDateTime at;     // when the time of day is not known, the day at 00:00 and hasTime false
    qint64 cents = 0; // always above zero
    QString id;       // the bank's id of the transaction (OFX FITID), often empty
    QString payer;    // who paid, when the bank says it
    QString memo;     // the bank's description, where a txid kept by the bank shows up
    bool hasTime = true;
};

// A statement file read whole: its kind ("OFX", "CSV Banco do Brasil", ...), the SHA-256 of its bytes
// and its Pix credits in the file's order (debits and other credits left out).
struct Statement {
    QString format;
    QByteArray hash;
    QList<StatementCredit> credits;
};

namespace StatementImport {

// Reads an OFX file (through libofx) or a CSV export of one of the banks known below, told apart by
// content whatever the file's name. Raises PaymentError with a Portuguese message when the file cannot
// be opened, is of no known kind or is damaged; nothing is returned half read.
Statement read(const QString& path);
Statement read(const QByteArray& bytes, const QString& name);

// The parts of read(), for one kind.
QList<StatementCredit> readOfx(const QByteArray& bytes, const QString& name);
// Sets format to the bank's layout found by its header.
QList<StatementCredit> readCsv(const QByteArray& bytes, const QString& name, QString& format);

// A file's text as it really is: UTF-8 when its bytes are valid UTF-8 (a byte-order mark dropped), else
// Windows-1252 (Latin-1 with the printer's quotes and dashes), whatever the file says it is.
QString decode(const QByteArray& bytes);

} // namespace StatementImport
