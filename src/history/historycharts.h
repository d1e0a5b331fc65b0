#pragma once

#include "history/historysummary.h"

class QChart;

// The two charts of a summary: units sold per product, and the amount sold per hour.
namespace HistoryCharts {

// Replaces what `chart` shows.
void showProducts(QChart* chart, const HistorySummary::Summary& summary);
void showHours(QChart* chart, const HistorySummary::Summary& summary);

} // namespace HistoryCharts
