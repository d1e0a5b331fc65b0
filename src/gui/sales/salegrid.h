#pragma once

#include <QAbstractTableModel>
#include <QTableView>

class TillModel;

// The lines of the sale in progress, as the till holds them: a key press appends one row, nothing
// is read again.
class SaleLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SaleLinesModel(QObject* parent, const TillModel& till);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TillModel& m_till;
};

// The sale grid of the sales screen: read-only, never focused.
class SaleGrid : public QTableView {
    Q_OBJECT
public:
    SaleGrid(QWidget* parent, const TillModel& till);

protected slots:
    // A line appended paints that line only, and the grid follows it to the bottom; the table's own
    // handling lays out and paints everything.
    void rowCountChanged(int oldCount, int newCount);
};
