#pragma once

#include "history/historysummary.h"

#include <QDateTime>
#include <memory>

class Report;

// The printed summary of a choice of closed tills, on the till printer's paper: the tills, the products
// sold with units and amounts, the cash figures and the amount sold per hour. Its length follows its rows.
namespace HistoryReport {

std::unique_ptr<Report> build(const HistorySummary::Summary& summary, const QString& festa,
                              const QDateTime& printedAt);

} // namespace HistoryReport
