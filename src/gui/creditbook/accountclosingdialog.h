#pragma once

#include "gui/common/form.h"

class Database;
class QLabel;
class QPushButton;

// Confirmation of an account closing: shows the name and the amount; "Sim! Fechar" deletes the
// account with all its items.
class AccountClosingDialog : public Form {
    Q_OBJECT
public:
    explicit AccountClosingDialog(Database& db);

    // The account to close, as its sheet shows it.
    void setAccount(const QString& name, const QString& total, const QString& id);

signals:
    void accountClosed(); // "Sim! Fechar" deleted the account: its sheet closes

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    Database& m_db;

    // Its widgets: other code finds them by their objectName.
private:
    QLabel* lnome = nullptr;
    QLabel* lvalor = nullptr;
    QLabel* lid = nullptr; // hidden: the account's id
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
