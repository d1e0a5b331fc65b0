#pragma once

#include <QTableView>

class SaleScrollBar;
class TillModel;

// The sale grid of the sales screen: read-only, never focused.
class SaleGrid : public QTableView {
    Q_OBJECT
public:
    SaleGrid(QWidget* parent, const TillModel& till);

protected:
    void paintEvent(QPaintEvent* event) override;

protected slots:
    // A line appended paints that line only, and the grid follows it to the bottom; the table's own
    // handling lays out and paints everything.
    void rowCountChanged(int oldCount, int newCount);

private:
    SaleScrollBar* m_scrollBar;
};
