#include "creditbookmodel.h"

#include "core/base/errors.h"

CreditBookModel::CreditBookModel(Database& db, QObject* parent) : QObject(parent), m_db(db) {}

void CreditBookModel::setAccount(const std::optional<Account>& account) {
    m_account = account;
    m_items.clear();
    m_total = Cents();
    emit changed();
}

void CreditBookModel::sum() {
    m_items = m_account ? CreditBookStore::items(m_db, m_account->id) : QList<ChargedItem>();
    m_total = Cents();
    try {
        for (const ChargedItem& item : std::as_const(m_items))
            m_total += Cents::parse(item.price);
    } catch (...) {
        emit changed();
        throw;
    }
    emit changed();
}

void CreditBookModel::charge(const QString& product, const QString& price, const QString& date,
                             const QString& time) {
    if (!m_account)
        throw AppError(
            QStringLiteral("Nenhuma conta aberta nesta ficha: abra uma conta na Caderneta antes de marcar."));
    try {
        CreditBookStore::chargeItem(m_db, m_account->id, product, price, date, time);
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

void CreditBookModel::removeItem(int index) {
    if (!m_items.isEmpty()) {
        const int at = index >= 0 && index < m_items.size() ? index : int(m_items.size()) - 1;
        CreditBookStore::removeItem(m_db, m_items.at(at).row);
    }
    sum();
}
