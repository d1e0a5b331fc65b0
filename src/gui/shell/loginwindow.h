#pragma once

#include "gui/common/form.h"

class Database;
struct User;
class QLineEdit;
class QPushButton;

// The login window, the first one the program shows. Closing it ends the program.
class LoginWindow : public Form {
    Q_OBJECT
public:
    // `signedIn` becomes the user who logged in: the row the administration panel edits.
    LoginWindow(Database& db, User& signedIn);

    void bt_loginClick();

signals:
    void loggedIn();      // the right user and password: the main window follows, this one hides
    void quitRequested(); // "Cancelar" or the close box

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Database& m_db;
    User& m_signedIn;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_usuario = nullptr;
    QLineEdit* edt_senha = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Cancelar"
    QPushButton* bt_login = nullptr;     // "Acessar"
};
