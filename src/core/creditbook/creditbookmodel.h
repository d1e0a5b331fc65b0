#pragma once

#include "core/base/money.h"

#include <QObject>
#include <QString>

class DataModule;

// The account a sheet shows and the total of what is charged to it. The items themselves are the
// data module's q_prod_cad, listed afresh by each summing.
class CreditBookModel : public QObject {
    Q_OBJECT
public:
    explicit CreditBookModel(DataModule& dm, QObject* parent = nullptr);

    // The account list's current account becomes the sheet's (none when the list is empty).
    void takeCurrentAccount();
    QString accountId() const { return m_id; }
    QString accountName() const { return m_name; }

    // Lists the account's items and adds them up, item by item: an item whose price is no amount stops
    // the sum there (ConversionError) with the items before it counted.
    void sum();
    Cents total() const { return m_total; }

    // Charges one product to the account (AppError with no account), then sums; a refused value is
    // the error raised, after the stored items are summed again.
    void charge(const QString& product, const QString& price, const QString& date, const QString& time);
    // Removes the item selected in the list (the last one listed when none was picked), then sums.
    void removeSelectedItem();

signals:
    void changed();

private:
    DataModule& m_dm;
    QString m_id;
    QString m_name;
    Cents m_total;
};
