#pragma once

#include "core/base/money.h"
#include "core/creditbook/creditbookstore.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class Database;

// The account a sheet shows, the items charged to it and their total.
class CreditBookModel : public QObject {
    Q_OBJECT
public:
    explicit CreditBookModel(Database& db, QObject* parent = nullptr);

    // The account the next sheet shows (none: a sheet with no name and no items).
    void setAccount(const std::optional<Account>& account);
    QString accountId() const { return m_account ? QString::number(m_account->id) : QString(); }
    QString accountName() const { return m_account ? m_account->name : QString(); }

    // Lists the account's items and adds them up, item by item: an item whose price is no amount stops
    // the sum there (ConversionError) with the items before it counted; the list holds every item.
    void sum();
    Cents total() const { return m_total; }
    const QList<ChargedItem>& items() const { return m_items; }

    // Charges one product to the account (AppError with no account), then sums; a refused value is
    // the error raised, after the stored items are summed again.
    void charge(const QString& product, const QString& price, const QString& date, const QString& time);
    // Removes the item at that place of the list (the last one for any place outside it), then sums.
    // Nothing is removed when the account has no item.
    void removeItem(int index);

signals:
    void changed(); // the items or the total

private:
    Database& m_db;
    std::optional<Account> m_account;
    QList<ChargedItem> m_items;
    Cents m_total;
};
