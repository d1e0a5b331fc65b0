#pragma once

#include <QAbstractTableModel>

class TillModel;

// The lines of the sale in progress, as the till holds them: a key press appends one row, nothing
// is read again.
class SaleLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Code, Product, Price, Tickets, ColumnCount };
    SaleLinesModel(QObject* parent, const TillModel& till);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TillModel& m_till;
};
