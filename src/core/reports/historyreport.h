#pragma once

#include "core/history/historysummary.h"

#include <QDateTime>
#include <memory>

class Report;

// The printed summary of a choice of closed tills, on the till printer's paper: the tills, the products
// sold with their price, units sold, tickets printed and amounts, the cash figures and the amount sold
// per hour. Its length follows its rows; no name or figure is cut (long names wrap, wide figures shrink).
namespace HistoryReport {

std::unique_ptr<Report> build(const HistorySummary::Summary& summary, const QString& festa,
                              const QDateTime& printedAt);

} // namespace HistoryReport
