#include "rowgrid.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>

RowGrid::RowGrid(QWidget* parent, const QString& objectName, QAbstractItemModel* model,
                 const QList<int>& widths)
    : QTableView(parent) {
    setObjectName(objectName);
    setModel(model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    QFont hf = horizontalHeader()->font();
    hf.setBold(true);
    horizontalHeader()->setFont(hf);
    for (int i = 0; i < widths.size(); ++i)
        if (widths[i] > 0) setColumnWidth(i, widths[i]);
    horizontalHeader()->setStretchLastSection(true);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { setCurrentRow(0); });
}

void RowGrid::setCurrentRow(int row) {
    if (row < 0 || row >= model()->rowCount()) return;
    const QModelIndex at = model()->index(row, 0);
    // a grid that is only read shows no highlighted row
    const auto how = selectionMode() == QAbstractItemView::NoSelection
                         ? QItemSelectionModel::SelectionFlags(QItemSelectionModel::NoUpdate)
                         : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(at, how);
}

void RowGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit rowChosen();
}

void RowGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid() &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit rowChosen();
        return;
    }
    QTableView::keyPressEvent(event);
}
