#pragma once

#include "core/history/historysummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Spreadsheet files of the history, as Portuguese-language spreadsheets read them: UTF-8 with a byte-order
// mark, semicolons between fields, decimal comma, dates as 25/12/2026, lines ending CR LF.
namespace HistoryCsv {

QByteArray tillList(const QList<HistoryStore::ClosedTill>& tills);
QByteArray summary(const HistorySummary::Summary& summary);

// The pieces of such a file, for every spreadsheet the program writes.
// A text field: quoted when it holds a separator, a quote or a line break; a leading character that a
// spreadsheet would read as the start of a formula is neutralised.
QString textField(const QString& value);
QString moneyField(qint64 cents);
QString optionalMoneyField(const std::optional<qint64>& cents); // empty when none
QString dateField(const QDateTime& d);                          // empty when invalid
QString timeField(const QDateTime& d);
class Sheet {
public:
    void row(const QStringList& fields) { m_text += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n"); }
    QByteArray bytes() const { return QByteArray("\xEF\xBB\xBF") + m_text.toUtf8(); }

private:
    QString m_text;
};

// The folder files are offered in (~/quorvanta/relatorios), created when missing.
QString defaultFolder();
// Writes the bytes to the file; raises AppError when it cannot.
void write(const QString& path, const QByteArray& bytes);

} // namespace HistoryCsv
