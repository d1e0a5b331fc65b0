#pragma once

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>

#include "core/db/dataset.h"

// Widgets bound to a field of a dataset's current row.

// Shows the field; typing starts an edit of the row and writes the field. Takes at most the column's width.
class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(QWidget* parent, const QString& objectName, Dataset* dataset = nullptr, const QString& field = {});
    void bind(Dataset* dataset, const QString& field);
    Dataset* dataset() const { return m_dataset; }
    QString field() const { return m_field; }

private:
    void refresh();
    void typed(const QString& text);
    QPointer<Dataset> m_dataset;
    QString m_field;
    bool m_writing = false;
};

// Shows a memo field, read-only, with a vertical scroll bar.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    DBMemo(QWidget* parent, const QString& objectName, Dataset* dataset = nullptr, const QString& field = {});
    void bind(Dataset* dataset, const QString& field);

private:
    void refresh();
    QPointer<Dataset> m_dataset;
    QString m_field;
};

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
