#pragma once

#include "gui/common/form.h"

class DataModule;
class QLineEdit;
class QPushButton;

// The login window, the first one the program shows. Closing it ends the program.
class LoginWindow : public Form {
    Q_OBJECT
public:
    explicit LoginWindow(DataModule& dm);

    void bt_loginClick();

signals:
    void loggedIn();      // the right user and password: the main window follows, this one hides
    void quitRequested(); // "Cancelar" or the close box

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DataModule& m_dm;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_usuario = nullptr;
    QLineEdit* edt_senha = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Cancelar"
    QPushButton* bt_login = nullptr;     // "Acessar"
};
