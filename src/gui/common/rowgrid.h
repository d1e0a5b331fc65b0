#pragma once

#include <QTableView>

// A read-only grid of whole rows over a table model. Tab leaves the grid (arrows move inside it); a
// double click or Enter chooses the current row. When the model's rows are replaced, the first row
// becomes the current one.
class RowGrid : public QTableView {
    Q_OBJECT
public:
    // `widths` in pixels, one per column (0 lets the grid size it); the last column fills the rest.
    RowGrid(QWidget* parent, const QString& objectName, QAbstractItemModel* model, const QList<int>& widths);

    int currentRow() const { return currentIndex().row(); } // -1 with no rows
    void setCurrentRow(int row);

signals:
    void rowChosen();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
