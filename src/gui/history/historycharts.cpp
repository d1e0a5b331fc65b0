#include "historycharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFontMetrics>
#include <QHorizontalBarSeries>
#include <QMap>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace HistoryCharts {

namespace {

const QColor palette[] = {QColor(0x2e, 0x8b, 0x57), QColor(0x1f, 0x5f, 0xa8), QColor(0xd0, 0x7a, 0x10),
                          QColor(0x8e, 0x3b, 0x9e), QColor(0xb0, 0x30, 0x30)};

QFont labelsFont() {
    QFont f;
    f.setPointSize(10);
    return f;
}

// A chart keeps one category axis and one value axis for its whole life. They are made on first use and
// only refilled afterwards: an axis removed and deleted leaves its labels on the scene until Qt's deferred
// deletion runs, drawn over the new axis meanwhile.
struct Axes {
    QBarCategoryAxis* categories = nullptr;
    QValueAxis* values = nullptr;
};

Axes axesOf(QChart* chart, bool horizontal) {
    Axes a;
    for (QAbstractAxis* axis : chart->axes()) {
        if (auto* c = qobject_cast<QBarCategoryAxis*>(axis)) a.categories = c;
        if (auto* v = qobject_cast<QValueAxis*>(axis)) a.values = v;
    }
    if (!a.categories) {
        a.categories = new QBarCategoryAxis;
        a.categories->setLabelsFont(labelsFont());
        a.categories->setTruncateLabels(false); // a product's name reads in full
        chart->addAxis(a.categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    }
    if (!a.values) {
        a.values = new QValueAxis;
        a.values->setLabelsFont(labelsFont());
        a.values->setLabelFormat(QStringLiteral("%d"));
        a.values->setTickType(QValueAxis::TicksDynamic);
        a.values->setTickAnchor(0);
        a.values->setMinorTickCount(0);
        chart->addAxis(a.values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    }
    return a;
}

// Empties the chart: no series, and its axes hidden until something is shown again.
void clear(QChart* chart, const QString& title) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes())
        a->setVisible(false);
    chart->legend()->hide();
    chart->setTitle(title);
    QFont tf = chart->titleFont();
    tf.setPointSize(13);
    tf.setBold(true);
    chart->setTitleFont(tf);
    chart->setAnimationOptions(QChart::NoAnimation);
}

// The smallest whole step (1, 2 or 5 times a power of ten) that goes from zero to a little above `top` in
// at most `intervals` steps: no two labels of the axis show the same number.
double wholeStep(double top, int intervals) {
    double scale = 1;
    for (; scale < 1e15; scale *= 10)
        for (const double step : {scale, 2 * scale, 5 * scale})
            if (std::ceil(top * 1.1 / step) <= intervals) return step;
    return scale;
}

void show(QChart* chart, QAbstractBarSeries* series, const QStringList& categories, double top,
          bool horizontal) {
    chart->addSeries(series);
    const Axes a = axesOf(chart, horizontal);
    a.categories->setCategories(categories);
    const double step = wholeStep(top, 6);
    a.values->setTickInterval(step);
    a.values->setRange(0, std::max(1.0, std::ceil(top * 1.1 / step)) * step);
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(a.categories), static_cast<QAbstractAxis*>(a.values)}) {
        series->attachAxis(axis);
        axis->setVisible(true);
    }
}

// Hours after midnight belong to the evening before them.
int eveningOrder(int hour) {
    return hour < 6 ? hour + 24 : hour;
}

} // namespace

void showProducts(QChart* chart, const HistorySummary::Summary& s) {
    clear(chart, QStringLiteral("Unidades por produto"));
    if (s.products.isEmpty()) return;
    // the same product at two prices is one bar; names read in full on the side
    QStringList names;
    QList<double> units;
    for (const HistoryStore::ProductSold& p : s.products) {
        const QString name = p.name.isEmpty() ? p.key : p.name;
        const qsizetype at = names.indexOf(name);
        if (at >= 0) {
            units[at] += double(p.units);
        } else {
            names << name;
            units << double(p.units);
        }
    }
    std::reverse(names.begin(), names.end()); // the first product at the top
    std::reverse(units.begin(), units.end());
    auto* set = new QBarSet(QStringLiteral("Unidades"));
    set->setColor(palette[1]);
    for (const double u : units)
        *set << u;
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    show(chart, series, names, *std::max_element(units.begin(), units.end()), true);
}

void showHours(QChart* chart, const HistorySummary::Summary& s) {
    clear(chart, QStringLiteral("R$ vendidos por hora"));
    if (s.hours.isEmpty()) return;
    // one bar set per evening, over the hours of the evening
    QMap<int, QString> hours; // by evening order
    QMap<QDate, QMap<int, double>> byDay;
    for (const HistorySummary::HourAmount& h : s.hours) {
        const int hour = h.hour.time().hour();
        hours.insert(eveningOrder(hour), HistorySummary::hourLabel(h.hour, false));
        const QDate evening = hour < 6 ? h.hour.date().addDays(-1) : h.hour.date();
        byDay[evening][eveningOrder(hour)] += double(h.cents) / 100.0;
    }
    auto* series = new QBarSeries;
    double top = 0;
    int n = 0;
    for (auto day = byDay.cbegin(); day != byDay.cend(); ++day, ++n) {
        auto* set = new QBarSet(day.key().toString(QStringLiteral("dd/MM")));
        set->setColor(palette[n % 5]);
        for (auto h = hours.cbegin(); h != hours.cend(); ++h) {
            const double v = day.value().value(h.key());
            *set << v;
            top = std::max(top, v);
        }
        series->append(set);
    }
    chart->legend()->setVisible(byDay.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    show(chart, series, hours.values(), top, false);
}

int productsHeight(const QChart* chart) {
    int rows = 0;
    for (const QAbstractAxis* a : chart->axes(Qt::Vertical))
        if (const auto* c = qobject_cast<const QBarCategoryAxis*>(a); c && c->isVisible())
            rows = int(c->count());
    const QFontMetrics labels(labelsFont());
    const QFontMetrics title(chart->titleFont());
    // a line and a little air per name, so that the axis leaves none of them out; the title, the value
    // axis and the margins around
    return rows * (labels.height() + 6) + title.height() * 2 + labels.height() * 2 + 40;
}

} // namespace HistoryCharts
