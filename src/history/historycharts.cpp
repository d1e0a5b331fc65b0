#include "historycharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>
#include <algorithm>

namespace HistoryCharts {

namespace {

// One series of bars over the given categories; the value axis starts at zero.
void bars(QChart* chart, const QString& title, const QString& setName, const QStringList& categories,
          const QList<double>& values, const QColor& colour, bool money) {
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
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);

    auto* set = new QBarSet(setName);
    set->setColor(colour);
    for (const double v : values)
        *set << v;
    auto* series = new QBarSeries;
    series->append(set);
    // counts over the bars; amounts are read on the axis (its labels carry no decimals)
    series->setLabelsVisible(!money);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart->addSeries(series);

    auto* x = new QBarCategoryAxis;
    x->append(categories.isEmpty() ? QStringList{QStringLiteral("—")} : categories);
    QFont af = x->labelsFont();
    af.setPointSize(10);
    x->setLabelsFont(af);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);

    auto* y = new QValueAxis;
    const double top = values.isEmpty() ? 1 : *std::max_element(values.begin(), values.end());
    y->setRange(0, std::max(1.0, top * 1.15));
    y->setLabelFormat(money ? QStringLiteral("%.0f") : QStringLiteral("%d"));
    y->setLabelsFont(af);
    y->applyNiceNumbers();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}

} // namespace

void showProducts(QChart* chart, const HistorySummary::Summary& s) {
    // the same product at two prices is one bar
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
    bars(chart, QStringLiteral("Unidades por produto"), QStringLiteral("Unidades"), names, units,
         QColor(0x1f, 0x5f, 0xa8), false);
}

void showHours(QChart* chart, const HistorySummary::Summary& s) {
    QStringList hours;
    QList<double> amounts;
    for (const HistorySummary::HourAmount& h : s.hours) {
        hours << HistorySummary::hourLabel(h.hour, s.spansDays());
        amounts << double(h.cents) / 100.0;
    }
    bars(chart, QStringLiteral("Valor vendido por hora (R$)"), QStringLiteral("R$"), hours, amounts,
         QColor(0x2e, 0x8b, 0x57), true);
}

} // namespace HistoryCharts
