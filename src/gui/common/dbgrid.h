#pragma once

#include <QTableView>

#include "gui/common/datasetmodel.h"

// A read-only grid over a dataset. Selecting a row makes it the dataset's current row; the dataset's
// current row is the grid's selected row. Tab leaves the grid (arrows move inside it); a double click
// or Enter chooses the current row.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    DBGrid(QWidget* parent, const QString& objectName, Dataset* dataset, QList<GridColumn> columns);
    void bind(Dataset* dataset);

signals:
    void rowChosen();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followDataset();
    DatasetModel* m_model;
    bool m_syncing = false;
};
