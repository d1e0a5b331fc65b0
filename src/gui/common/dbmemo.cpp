#include "dbmemo.h"

DBMemo::DBMemo(QWidget* parent, const QString& objectName, Dataset* dataset, const QString& field)
    : QPlainTextEdit(parent) {
    setObjectName(objectName);
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (dataset) bind(dataset, field);
}

void DBMemo::bind(Dataset* dataset, const QString& field) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    connect(dataset, &Dataset::reset, this, &DBMemo::refresh);
    connect(dataset, &Dataset::currentChanged, this, &DBMemo::refresh);
    refresh();
}

void DBMemo::refresh() {
    QString text;
    if (m_dataset && m_dataset->isActive() && m_dataset->hasField(m_field))
        text = m_dataset->asString(m_field);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text != toPlainText()) setPlainText(text);
}
