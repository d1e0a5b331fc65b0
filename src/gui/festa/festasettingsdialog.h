#pragma once

#include "core/festa/festasettings.h"
#include "gui/common/form.h"

#include <QPointer>

class FestaDesk;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Where this desk reports in a festa of several desks: the treasurer's computer (address and port), the
// desk's name and the desks' password, and on the computer that runs the festa's panel the treasurer's
// password too. "Testar conexão" asks the server on a worker thread; "Sair da festa" makes the desk work
// alone again. What the program does with saved or removed settings is up to whoever listens.
class FestaSettingsDialog : public Form {
    Q_OBJECT
public:
    FestaSettingsDialog();

    // The desk running now, if any: leaving the festa tells how many rows it has not sent yet.
    void setFesta(FestaDesk* desk);

    // The settings as the fields show them.
    FestaSettings settings() const;
    void bt_testarClick();
    void bt_salvarClick();
    void bt_sairClick();

signals:
    void settingsSaved(const FestaSettings& settings);
    void festaLeft();

protected:
    void FormShow() override;

private:
    // Whether the fields name a server (and, for saving, the desk); when not, tells the user and puts the
    // cursor where the missing text goes.
    bool complete(bool forSaving);
    void showState(const QString& text, bool trouble);

    QPointer<FestaDesk> m_desk;
    QString m_database = FestaSettings().database; // kept as the file has it; not edited here

    // Its widgets: other code finds them by their objectName.
    QLineEdit* edt_servidor = nullptr;
    QSpinBox* edt_porta = nullptr;
    QLineEdit* edt_caixa = nullptr;
    QLineEdit* edt_senha = nullptr;
    QLineEdit* edt_senha_tesouraria = nullptr;
    QLabel* l_estado = nullptr;
    QPushButton* bt_testar = nullptr;
    QPushButton* bt_sair = nullptr;
    QPushButton* bt_salvar = nullptr;
    QPushButton* bt_cancelar = nullptr;
};
