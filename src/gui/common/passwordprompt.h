#pragma once

#include "form.h"

#include <functional>

class Database;
class QLineEdit;
class QPushButton;

// The system's password prompt: a label, a password field (capitals, "*", red bold) and two
// buttons. "Entrar" (or Enter in the field) looks the typed text up in tbl_senhas and compares it
// exactly with the stored column (or the password the design's `stored` gives); on a match the prompt runs
// its action (which may show another window modally) and then closes. "Cancelar" and the close box empty the
// field and close.
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
        // A password kept elsewhere than tbl_senhas (the festa's treasurer's), typed as it is, without
        // capitals; `column` is then unused.
        std::function<QString()> stored = {};
    };

    PasswordPrompt(Database& db, const Design& design, std::function<void()> onAccepted);

    void bt_fecharClick();
    void SpeedButton2Click();

protected:
    void FormClose() override;

private:
    Database& m_db;
    Design m_design;
    std::function<void()> m_onAccepted; // what a correct password opens; the prompt closes after it

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_senha = nullptr;
    QPushButton* bt_fechar = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
