#pragma once

#include "core/print/printersettings.h"
#include "gui/common/form.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Which printer tickets and reports go to on this machine: the system's printer (through the print
// server, as always) or an ESC/POS receipt printer on the network (port 9100) or on USB, with its paper
// width and whether the paper is cut after each ticket. "Testar" asks the printer its state (on a worker
// thread).
class PrinterSettingsDialog : public Form {
    Q_OBJECT
public:
    PrinterSettingsDialog();

    // The settings as the fields show them.
    PrinterSettings settings() const;
    void bt_testarClick();
    void bt_salvarClick();

signals:
    void settingsSaved(const PrinterSettings& settings);

protected:
    void FormShow() override;

private:
    void showKind();

    // Its widgets: other code finds them by their objectName.
    QComboBox* cb_tipo = nullptr;
    QLineEdit* edt_endereco = nullptr;
    QSpinBox* edt_porta = nullptr;
    QLineEdit* edt_dispositivo = nullptr;
    QComboBox* cb_papel = nullptr;
    QCheckBox* ck_corte = nullptr;
    QLabel* l_estado = nullptr;
    QPushButton* bt_testar = nullptr;
    QPushButton* bt_salvar = nullptr;
    QPushButton* bt_cancelar = nullptr;
    QFormLayout* m_rows = nullptr;
};
