#include "dbedit.h"

#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"

DBEdit::DBEdit(QWidget* parent, const QString& objectName, Dataset* dataset, const QString& field)
    : QLineEdit(parent) {
    setObjectName(objectName);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
    if (dataset) bind(dataset, field);
}

void DBEdit::bind(Dataset* dataset, const QString& field) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    KeyFilter::limitWidth(this, dataset->fieldWidth(field));
    connect(dataset, &Dataset::reset, this, &DBEdit::refresh);
    connect(dataset, &Dataset::currentChanged, this, &DBEdit::refresh);
    refresh();
}

void DBEdit::refresh() {
    if (m_writing) return;
    QString text;
    if (m_dataset && m_dataset->isActive() && m_dataset->hasField(m_field))
        text = m_dataset->asString(m_field);
    if (text != this->text()) setText(text);
}

void DBEdit::typed(const QString& text) {
    if (!m_dataset || !m_dataset->isActive()) return;
    m_writing = true;
    Messages::guarded(this, [&] {
        if (m_dataset->state() == Dataset::State::Browse) m_dataset->edit();
        m_dataset->setValue(m_field, text);
    });
    m_writing = false;
}
