#pragma once

#include "core/festa/festapanelstore.h"
#include "core/history/historysummary.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Spreadsheet files of the history, as Portuguese-language spreadsheets read them: UTF-8 with a byte-order
// mark, semicolons between fields, decimal comma, dates as 25/12/2026, lines ending CR LF.
namespace HistoryCsv {

QByteArray tillList(const QList<HistoryStore::ClosedTill>& tills);
QByteArray summary(const HistorySummary::Summary& summary);
// The closed tills of every desk of a festa, as the treasurer's panel reads them from the server.
QByteArray festaTillList(const QList<FestaPanelStore::ClosedTill>& tills);

// The folder files are offered in (~/quorvanta/relatorios), created when missing.
QString defaultFolder();
// Writes the bytes to the file; raises AppError when it cannot.
void write(const QString& path, const QByteArray& bytes);

} // namespace HistoryCsv
