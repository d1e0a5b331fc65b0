#pragma once

#include <QPlainTextEdit>
#include <QPointer>

#include "core/db/dataset.h"

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
