#pragma once

#include "core/history/historysummary.h"

class QChart;

// The two charts of a summary: units sold per product, and the amount sold per hour.
namespace HistoryCharts {

// Replaces what `chart` shows; a summary with nothing to show leaves it empty, with its title only.
void showProducts(QChart* chart, const HistorySummary::Summary& summary);
void showHours(QChart* chart, const HistorySummary::Summary& summary);

// The height the products chart needs for every product's name to show on its axis, in pixels.
int productsHeight(const QChart* chart);

} // namespace HistoryCharts
