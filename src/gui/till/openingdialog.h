#pragma once

#include "gui/common/form.h"

class Database;
class OpeningReport;
class TillModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Till opening: the responsible person, the operator and the float; Enter in the float opens the
// till (new till number, empty tally, every till value set, opening report) and runs the sales
// screen until the till is closed.
class OpeningDialog : public Form {
    Q_OBJECT
public:
    OpeningDialog(Database& db, TillModel& till, OpeningReport& report);

    // Enter in the float: checks the float, copies the till header, then opens.
    void edt_entradaEnter();
    // The open operation proper (the hidden "Abre" button).
    void bt_abreClick();
    void SpeedButton2Click();
    void Timer1Timer();

signals:
    // A till was opened: the sales screen is shown over this window and has closed on return.
    void tillOpened();

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Leaving a name field empty sends the focus back to it with this message.
    void checkNotEmpty(QLineEdit* edit, const QString& message);
    bool m_refusing = false;
    Database& m_db;
    TillModel& m_till;
    OpeningReport& m_report;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_responsavel = nullptr;
    QLineEdit* edt_operador = nullptr;
    QLineEdit* edt_data = nullptr;
    QLineEdit* edt_hora = nullptr;
    QLineEdit* edt_entrada = nullptr;
    QLineEdit* dbe_cont = nullptr;       // hidden: the stored till counter (tbl_cont.cont)
    QPushButton* SpeedButton2 = nullptr; // "Cancelar"
    QTimer* Timer1 = nullptr;
};
