#include "creditbookmodel.h"

#include "core/base/errors.h"
#include "core/creditbook/creditbookstore.h"
#include "core/db/datamodule.h"
#include "core/db/dataset.h"

CreditBookModel::CreditBookModel(DataModule& dm, QObject* parent) : QObject(parent), m_dm(dm) {}

void CreditBookModel::takeCurrentAccount() {
    const Dataset* accounts = m_dm.q_caderneta;
    const bool any = accounts->isActive() && accounts->recNo() >= 0;
    m_id = any ? accounts->asString(QStringLiteral("id")) : QString();
    m_name = any ? accounts->asString(QStringLiteral("nome")) : QString();
    emit changed();
}

void CreditBookModel::sum() {
    Dataset* items = m_dm.q_prod_cad;
    CreditBookStore::listItems(m_dm, m_id);
    m_total = Cents();
    try {
        for (items->first(); !items->eof(); items->next())
            m_total += Cents::parse(items->asString(QStringLiteral("valor")));
    } catch (...) {
        emit changed();
        throw;
    }
    emit changed();
}

void CreditBookModel::charge(const QString& product, const QString& price, const QString& date,
                             const QString& time) {
    if (m_id.isEmpty())
        throw AppError(
            QStringLiteral("Nenhuma conta aberta nesta ficha: abra uma conta na Caderneta antes de marcar."));
    try {
        CreditBookStore::chargeItem(m_dm, m_id, product, price, date, time);
    } catch (...) {
        // The list shows the stored items again; the refusal is the error raised (a faulty value met
        // by this summing is raised by the next one).
        try {
            sum();
        } catch (const std::exception&) {
        }
        throw;
    }
    sum();
}

void CreditBookModel::removeSelectedItem() {
    Dataset* items = m_dm.q_prod_cad;
    if (items->isActive()) items->remove();
    sum();
}
