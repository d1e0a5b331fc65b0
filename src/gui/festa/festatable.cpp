#include "festatable.h"

#include <QHeaderView>
#include <QTableWidget>

namespace FestaTable {

QTableWidget* make(QWidget* parent, const QString& objectName, const QStringList& headings) {
    auto* t = new QTableWidget(0, int(headings.size()), parent);
    t->setObjectName(objectName);
    t->setHorizontalHeaderLabels(headings);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setTabKeyNavigation(false);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setHighlightSections(false);
    return t;
}

void set(QTableWidget* table, int row, int column, const QString& text, const Look& look) {
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table->setItem(row, column, item);
    }
    item->setText(text);
    const Qt::Alignment horizontal = look.align == Align::Right    ? Qt::AlignRight
                                     : look.align == Align::Center ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft;
    item->setTextAlignment(horizontal | Qt::AlignVCenter);
    item->setData(Qt::ForegroundRole, look.foreground.isValid() ? QVariant(look.foreground) : QVariant());
    item->setData(Qt::BackgroundRole, look.background.isValid() ? QVariant(look.background) : QVariant());
    QFont f = table->font();
    f.setBold(look.bold);
    item->setFont(f);
    item->setToolTip(look.toolTip);
}

} // namespace FestaTable
