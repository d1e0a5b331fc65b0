#pragma once

#include "gui/common/form.h"

class DataModule;
class DBGrid;
class QPushButton;

// The credit book: the list of accounts, from which an account is opened or its sheet shown.
class CreditBookWindow : public Form {
    Q_OBJECT
public:
    explicit CreditBookWindow(DataModule& dm);

    // Reads the accounts again in name order; a pending new row is dropped and the current row
    // becomes the first account.
    void reload();

signals:
    void accountOpeningRequested(); // "Abrir Ficha"
    void sheetRequested();          // the current account's sheet (a double click)

protected:
    void FormShow() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void DBGrid1DblClick();
    DataModule& m_dm;

    // Its widgets: other code finds them by their objectName.
private:
    DBGrid* DBGrid1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
