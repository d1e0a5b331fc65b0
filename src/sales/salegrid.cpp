#include "salegrid.h"

#include "till/tillmodel.h"

#include <QHeaderView>

namespace {
enum Column { Code, Product, Price, Tickets, ColumnCount };
}

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

SaleGrid::SaleGrid(QWidget* parent, const TillModel& till) : QTableView(parent) {
    setObjectName(QStringLiteral("DBGrid2"));
    setModel(new SaleLinesModel(this, till));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(Code, 90);
    setColumnWidth(Product, 300);
    setColumnWidth(Price, 120);
}
