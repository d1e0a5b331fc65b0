#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QList>
#include <functional>

// A list of values of one type as a read-only table: one column per Column, each showing a text of
// the row.
template <class Row> class RowTableModel : public QAbstractTableModel {
public:
    struct Column {
        QString title;
        std::function<QString(const Row&)> text;
        Qt::Alignment alignment = Qt::AlignCenter;
        bool bold = false;
    };

    explicit RowTableModel(QList<Column> columns, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

    void setRows(QList<Row> rows) {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void setRow(int at, const Row& row) {
        if (at < 0 || at >= m_rows.size()) return;
        m_rows[at] = row;
        emit dataChanged(index(at, 0), index(at, columnCount() - 1));
    }
    const QList<Row>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_columns.size());
    }
    QVariant data(const QModelIndex& at, int role) const override {
        if (!at.isValid() || at.row() >= m_rows.size()) return {};
        const Column& c = m_columns[at.column()];
        switch (role) {
        case Qt::DisplayRole:
            return c.text(m_rows[at.row()]);
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
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size()) return {};
        return role == Qt::DisplayRole ? QVariant(m_columns[section].title) : QVariant();
    }

private:
    QList<Column> m_columns;
    QList<Row> m_rows;
};
