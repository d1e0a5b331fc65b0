#include "datasetmodel.h"

#include <QFont>

DatasetModel::DatasetModel(QObject* parent, Dataset* dataset, QList<GridColumn> columns)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {
    bind(dataset);
}

void DatasetModel::bind(Dataset* dataset) {
    beginResetModel();
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (dataset) {
        connect(dataset, &Dataset::reset, this, [this] {
            beginResetModel();
            endResetModel();
        });
        connect(dataset, &Dataset::currentChanged, this, [this] {
            if (m_dataset && m_dataset->recNo() >= 0 && m_dataset->recNo() < rowCount())
                emit dataChanged(index(m_dataset->recNo(), 0), index(m_dataset->recNo(), columnCount() - 1));
        });
    }
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_dataset || !m_dataset->isActive()) return 0;
    return m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_dataset) return {};
    const GridColumn& c = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset->text(index.row(), c.field);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
    case Qt::FontRole:
        if (c.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size()) return {};
    if (role == Qt::DisplayRole) return m_columns[section].title;
    return {};
}
