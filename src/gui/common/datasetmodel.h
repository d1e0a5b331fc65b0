#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "core/db/dataset.h"

// The columns a grid shows of a dataset.
struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = Qt::AlignCenter;
    bool bold = false;
    int width = 0; // pixels; 0 lets the grid size it
};

// The rows of a dataset as a table model, one column per GridColumn.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DatasetModel(QObject* parent, Dataset* dataset, QList<GridColumn> columns);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Dataset* dataset() const { return m_dataset; }
    void bind(Dataset* dataset);

private:
    QPointer<Dataset> m_dataset;
    QList<GridColumn> m_columns;
};
