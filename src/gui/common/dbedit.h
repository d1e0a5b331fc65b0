#pragma once

#include <QLineEdit>
#include <QPointer>

#include "core/db/dataset.h"

// A line edit bound to a field of a dataset's current row.
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
