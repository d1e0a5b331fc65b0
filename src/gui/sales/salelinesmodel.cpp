#include "salelinesmodel.h"

#include "core/till/tillmodel.h"

SaleLinesModel::SaleLinesModel(QObject* parent, const TillModel& till)
    : QAbstractTableModel(parent), m_till(till) {
    connect(&till, &TillModel::saleReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&till, &TillModel::lineAdded, this, [this](int line) {
        beginInsertRows({}, line, line);
        endInsertRows();
    });
}

int SaleLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_till.saleLines().size());
}

int SaleLinesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SaleLinesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_till.saleLines().size()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    const TillModel::SaleLine& line = m_till.saleLines().at(index.row());
    switch (index.column()) {
    case Code:
        return line.id;
    case Product:
        return line.product;
    case Price:
        return line.price;
    case Tickets:
        return line.tickets.toString();
    default:
        return {};
    }
}

QVariant SaleLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"Código", "Produto", "Valor", "Fichas"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}
