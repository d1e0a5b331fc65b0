#pragma once

#include "gui/common/form.h"

class QLineEdit;
class QPushButton;

// The login window, the first one the program shows. Closing it ends the program.
class LoginWindow : public Form {
    Q_OBJECT
public:
    explicit LoginWindow(Forms& forms);

    QLineEdit* edt_usuario = nullptr;
    QLineEdit* edt_senha = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Cancelar"
    QPushButton* bt_login = nullptr;     // "Acessar"

    void bt_loginClick();

protected:
    void closeEvent(QCloseEvent* event) override;
};
