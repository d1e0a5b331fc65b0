#pragma once

#include "gui/common/form.h"

class Database;
class QGroupBox;
class QLineEdit;
class QPushButton;
struct User;

// Password administration: the till and administrator passwords, the login, and the last till backup.
// Each showing shows the stored passwords; what is typed into them is stored by either of their
// "Salvar" and dropped by "OK" and the close box. What is typed into the user's entries stays until
// their own "Salvar", across closings of the panel.
class PasswordsWindow : public Form {
    Q_OBJECT
public:
    // `signedIn` is the user who logged in: the row the user's entries edit.
    PasswordsWindow(Database& db, User& signedIn);

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void BitBtn1Click();

signals:
    void lastTillRequested();        // the last till's backup
    void printerSettingsRequested(); // which printer tickets go to
    void festaSettingsRequested();   // the festa server this desk reports to

protected:
    void FormShow() override;

private:
    // Stores both passwords as the entries show them and confirms with the message.
    void storePasswords(const QString& message);
    Database& m_db;
    User& m_user;
    bool m_userTyped = false; // typed into the user's entries and not stored

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* DBEdit1 = nullptr;        // tbl_senhas.s_caixa
    QLineEdit* DBEdit2 = nullptr;        // tbl_senhas.s_admin
    QLineEdit* DBEdit3 = nullptr;        // tbl_adm.usuario
    QLineEdit* DBEdit4 = nullptr;        // tbl_adm.senha
    QPushButton* SpeedButton1 = nullptr; // "Salvar" (till password)
    QPushButton* SpeedButton2 = nullptr; // "Salvar" (administrator password)
    QPushButton* SpeedButton4 = nullptr; // "Salvar" (login)
    QPushButton* SpeedButton3 = nullptr; // "OK"
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;       // "Último Caixa"
    QPushButton* bt_impressora = nullptr; // "Impressora das Fichas"
    QPushButton* bt_festa = nullptr;      // "Festa"
};
