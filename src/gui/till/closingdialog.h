#pragma once

#include "gui/common/form.h"

class ClosingReport;
class TillModel;
class QLabel;
class QLineEdit;
class QPushButton;

// The till closing: the name of who closes, then "Fechar" recounts the tickets sold, prints the
// closing report, empties the till tally and closes the sales screen.
class ClosingDialog : public Form {
    Q_OBJECT
public:
    ClosingDialog(TillModel& till, ClosingReport& report);

    void setTillNumber(const QString& number);

    void bt_fecharClick();
    void SpeedButton1Click();

signals:
    // The till ended: the sales screen closes (this window closes right after).
    void tillClosed();

protected:
    void FormShow() override;

private:
    void Timer1Timer();
    TillModel& m_till;
    ClosingReport& m_report;

    // Its widgets: other code finds them by their objectName.
private:
    QLabel* lncaixa = nullptr;        // till number, as the sales screen gave it (setTillNumber)
    QLabel* ldata = nullptr;          // current date, from the clock (not shown)
    QLabel* lhora = nullptr;          // current time, from the clock (not shown)
    QLineEdit* Edit1 = nullptr;       // who closes the till
    QLineEdit* edt_contado = nullptr; // cash counted in the drawer, optional
    QPushButton* bt_fechar = nullptr;
    QPushButton* SpeedButton1 = nullptr; // "Cancelar"
};
