#pragma once

#include "core/creditbook/creditbookstore.h"
#include "core/settings/productstore.h"
#include "gui/common/form.h"
#include "gui/common/rowtablemodel.h"

class CreditBookModel;
class Database;
class RowGrid;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// One account's sheet: its name, the products to charge, the items charged and their total.
// Made anew for each opening; it shows the account model's account, the one chosen in the account list.
class AccountSheet : public Form {
    Q_OBJECT
public:
    AccountSheet(Database& db, CreditBookModel& account);

    // The summing, run by the hidden "SOMAR" button: lists the account's items and totals them.
    void bt_somarClick();

    // Removes the item selected in the grid (after the administrator's password) and sums again.
    void removeSelectedItem();

signals:
    void itemRemovalRequested(); // "Excluir"
    void accountClosingRequested(const QString& name, const QString& total,
                                 const QString& id); // "Fechar Conta"

protected:
    void FormShow() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void FecharFicha1Click();
    void Timer1Timer();
    Database& m_db;
    CreditBookModel& m_account;
    RowTableModel<Product>* m_products;
    RowTableModel<ChargedItem>* m_items;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* DBEdit1 = nullptr;     // the account's name
    QLineEdit* dbe_produto = nullptr; // hidden: the selected product's name
    QLineEdit* dbe_valor = nullptr;   // hidden: the selected product's price
    QLabel* l_data = nullptr;         // hidden: the clock's date
    QLabel* l_hora = nullptr;         // hidden: the clock's time
    QLabel* v_total1 = nullptr;
    RowGrid* DBGrid1 = nullptr; // items charged
    RowGrid* DBGrid2 = nullptr; // products
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton3 = nullptr;
    QAction* Sair1 = nullptr;
    QAction* FecharFicha1 = nullptr;
    QTimer* Timer1 = nullptr;
};
