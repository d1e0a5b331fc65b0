#pragma once

#include "gui/common/form.h"

class DataModule;
class DBEdit;
class Dataset;
class QGroupBox;
class QPushButton;

// Password administration: the till and administrator passwords, the login, and the last till backup.
class PasswordsWindow : public Form {
    Q_OBJECT
public:
    explicit PasswordsWindow(DataModule& dm);

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
    void FormClose() override;

private:
    // Stores the whole row of the dataset (typed or not) and confirms with the message.
    void store(Dataset* q, const QString& message);
    DataModule& m_dm;

    // Its widgets: other code finds them by their objectName.
private:
    DBEdit* DBEdit1 = nullptr;           // tbl_senhas.s_caixa
    DBEdit* DBEdit2 = nullptr;           // tbl_senhas.s_admin
    DBEdit* DBEdit3 = nullptr;           // tbl_adm.usuario
    DBEdit* DBEdit4 = nullptr;           // tbl_adm.senha
    QPushButton* SpeedButton1 = nullptr; // "Salvar" (till password)
    QPushButton* SpeedButton2 = nullptr; // "Salvar" (administrator password)
    QPushButton* SpeedButton4 = nullptr; // "Salvar" (login)
    QPushButton* SpeedButton3 = nullptr; // "OK"
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;       // "Último Caixa"
    QPushButton* bt_impressora = nullptr; // "Impressora das Fichas"
    QPushButton* bt_festa = nullptr;      // "Festa"
};
