#pragma once

#include "form.h"

class DataModule;
class QLineEdit;
class QPushButton;

// The one design of the system's password prompts: a label, a password field (capitals, "*",
// red bold) and two buttons. "Entrar" (or Enter in the field) looks the typed text up in
// tbl_senhas and compares it exactly with the stored column; on a match the prompt runs its
// action and then closes. "Cancelar" and the close box empty the field and close.
class PasswordPrompt : public Form {
    Q_OBJECT
public:
    struct Design {
        QString objectName;
        QString caption;
        QString column; // "s_caixa" or "s_admin"
        QString labelText;
        QString editName = QStringLiteral("edt_senha");
        QString okCaption = QStringLiteral("Entrar");
    };

    PasswordPrompt(Forms& forms, DataModule& dm, const Design& design);

    QLineEdit* edt_senha = nullptr;
    QPushButton* bt_fechar = nullptr;
    QPushButton* SpeedButton2 = nullptr;

    void bt_fecharClick();
    void SpeedButton2Click();

protected:
    // What a correct password opens; the prompt closes when it returns.
    virtual void passwordAccepted() = 0;
    void FormClose() override;

private:
    DataModule& m_dm;
    Design m_design;
};
