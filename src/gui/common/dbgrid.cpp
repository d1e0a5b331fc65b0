#include "dbgrid.h"

#include "gui/common/messages.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

DBGrid::DBGrid(QWidget* parent, const QString& objectName, Dataset* dataset, QList<GridColumn> columns)
    : QTableView(parent) {
    setObjectName(objectName);
    QList<int> widths;
    for (const GridColumn& c : columns)
        widths << c.width;
    m_model = new DatasetModel(this, nullptr, std::move(columns));
    setModel(m_model);
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
    for (int i = 0; i < widths.size(); ++i) {
        if (widths[i] > 0) setColumnWidth(i, widths[i]);
    }
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& cur) {
        if (m_syncing || !cur.isValid() || !m_model->dataset()) return;
        if (!Messages::guarded(this, [&] { m_model->dataset()->setRecNo(cur.row()); }))
            followDataset(); // the row could not be left: show the one the data is still on
    });
    if (dataset) bind(dataset);
}

void DBGrid::bind(Dataset* dataset) {
    if (m_model->dataset()) disconnect(m_model->dataset(), nullptr, this, nullptr);
    m_model->bind(dataset);
    connect(dataset, &Dataset::reset, this, &DBGrid::followDataset);
    connect(dataset, &Dataset::currentChanged, this, &DBGrid::followDataset);
    followDataset();
}

void DBGrid::followDataset() {
    Dataset* d = m_model->dataset();
    if (!d || !d->isActive() || d->recNo() < 0) return;
    m_syncing = true;
    const QModelIndex idx = m_model->index(d->recNo(), 0);
    if (selectionModel()->currentIndex().row() != idx.row()) {
        // a grid that is only read shows no highlighted row
        const auto how = selectionMode() == QAbstractItemView::NoSelection
                             ? QItemSelectionModel::SelectionFlags(QItemSelectionModel::NoUpdate)
                             : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        selectionModel()->setCurrentIndex(idx, how);
    }
    m_syncing = false;
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit rowChosen();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid() &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit rowChosen();
        return;
    }
    QTableView::keyPressEvent(event);
}
