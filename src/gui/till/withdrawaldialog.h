#pragma once

#include "gui/common/form.h"

class TillModel;
class WithdrawalReceipt;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Cash withdrawal: the amount, to whom it is handed and why. "Retirar" prints the receipt and takes
// the amount off the cash in till. The hidden fields hold the till's header (set by the opening),
// the withdrawal count (both from the till) and the clock.
class WithdrawalDialog : public Form {
    Q_OBJECT
public:
    WithdrawalDialog(TillModel& till, WithdrawalReceipt& receipt);

    void SpeedButton1Click(); // the withdrawal
    void SpeedButton2Click();
    void Timer1Timer();
    void refresh(); // the till's header and count

protected:
    void FormShow() override;

private:
    TillModel& m_till;
    WithdrawalReceipt& m_receipt;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_retirada = nullptr;
    QLineEdit* edt_repassa = nullptr;
    QLineEdit* edt_motivo = nullptr;
    QLineEdit* edt_cont = nullptr;
    QLineEdit* edt_data = nullptr;
    QLineEdit* edt_hora = nullptr;
    QLineEdit* edt_responsavel = nullptr;
    QLineEdit* edt_operador = nullptr;
    QLineEdit* edt_caixa = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Retirar"
    QPushButton* SpeedButton2 = nullptr; // "Cancelar"
    QTimer* Timer1 = nullptr;
};
