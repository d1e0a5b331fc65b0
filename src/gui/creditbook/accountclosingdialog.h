#pragma once

#include "gui/common/form.h"

class QLabel;
class QPushButton;

// Confirmation of an account closing: shows the name and the amount; "Sim! Fechar" deletes the
// account with all its items.
class AccountClosingDialog : public Form {
    Q_OBJECT
public:
    explicit AccountClosingDialog(Forms& forms);

    QLabel* lnome = nullptr;
    QLabel* lvalor = nullptr;
    QLabel* lid = nullptr; // hidden: the account's id
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
};
