#pragma once

#include "foundation/form.h"

class QLineEdit;
class QPushButton;

// The login window, the first one the program shows. Closing it ends the program.
class Tf_login : public Form {
    Q_OBJECT
public:
    explicit Tf_login(Forms& forms);

    QLineEdit* edt_usuario = nullptr;
    QLineEdit* edt_senha = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Cancelar"
    QPushButton* bt_login = nullptr;     // "Acessar"

    void bt_loginClick();

protected:
    void closeEvent(QCloseEvent* event) override;
};
