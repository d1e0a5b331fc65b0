#pragma once

#include "core/creditbook/creditbookstore.h"
#include "gui/common/form.h"
#include "gui/common/rowtablemodel.h"

class CreditBookModel;
class Database;
class RowGrid;
class QPushButton;

// The credit book: the list of accounts, from which an account is opened or its sheet shown. The list is
// read again whenever it shows and when the opening or the sheet it showed has closed.
class CreditBookWindow : public Form {
    Q_OBJECT
public:
    // `account` is what the sheet shows: the account chosen here.
    CreditBookWindow(Database& db, CreditBookModel& account);

    // Reads the accounts again in name order; the current row becomes the first account.
    void reload();

signals:
    void accountOpeningRequested(); // "Abrir Ficha", shown modally
    void sheetRequested();          // the current account's sheet (a double click), shown modally

protected:
    void FormShow() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void DBGrid1DblClick();
    Database& m_db;
    CreditBookModel& m_account;
    RowTableModel<Account>* m_accounts;

    // Its widgets: other code finds them by their objectName.
private:
    RowGrid* DBGrid1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
