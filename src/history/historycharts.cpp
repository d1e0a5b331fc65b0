#include "historycharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QMap>
#include <QValueAxis>
#include <algorithm>

namespace HistoryCharts {

namespace {

const QColor palette[] = {QColor(0x2e, 0x8b, 0x57), QColor(0x1f, 0x5f, 0xa8), QColor(0xd0, 0x7a, 0x10),
                          QColor(0x8e, 0x3b, 0x9e), QColor(0xb0, 0x30, 0x30)};

void reset(QChart* chart, const QString& title) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    chart->setTitle(title);
    QFont tf = chart->titleFont();
    tf.setPointSize(13);
    tf.setBold(true);
    chart->setTitleFont(tf);
    chart->setAnimationOptions(QChart::NoAnimation);
}

// The category axis and the value axis (from zero) of a bar series; horizontal bars swap their sides.
void axes(QChart* chart, QAbstractBarSeries* series, const QStringList& categories, double top,
          bool horizontal, bool money) {
    QFont af;
    af.setPointSize(10);
    auto* c = new QBarCategoryAxis;
    c->append(categories.isEmpty() ? QStringList{QStringLiteral("—")} : categories);
    c->setLabelsFont(af);
    c->setTruncateLabels(false); // a product's name reads in full
    chart->addAxis(c, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(c);
    auto* v = new QValueAxis;
    v->setRange(0, std::max(1.0, top * 1.15));
    v->setLabelFormat(money ? QStringLiteral("%.0f") : QStringLiteral("%d"));
    v->setLabelsFont(af);
    v->applyNiceNumbers();
    chart->addAxis(v, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(v);
}

// Hours after midnight belong to the evening before them.
int eveningOrder(int hour) {
    return hour < 6 ? hour + 24 : hour;
}

} // namespace

void showProducts(QChart* chart, const HistorySummary::Summary& s) {
    reset(chart, QStringLiteral("Unidades por produto"));
    chart->legend()->hide();
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
    chart->addSeries(series);
    axes(chart, series, names, units.isEmpty() ? 0 : *std::max_element(units.begin(), units.end()), true,
         false);
}

void showHours(QChart* chart, const HistorySummary::Summary& s) {
    reset(chart, QStringLiteral("R$ vendidos por hora"));
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
    chart->addSeries(series);
    chart->legend()->setVisible(byDay.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    axes(chart, series, hours.values(), top, false, true);
}

} // namespace HistoryCharts
