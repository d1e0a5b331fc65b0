#include "withdrawaldialog.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/reports/withdrawalreceipt.h"
#include "core/till/tillmodel.h"
#include "gui/common/keyfilter.h"
#include "gui/common/printsettlement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

WithdrawalDialog::WithdrawalDialog(TillModel& till, WithdrawalReceipt& receipt)
    : Form(QStringLiteral("f_sangria"), QStringLiteral("Sangria de Caixa")), m_till(till),
      m_receipt(receipt) {
    setFixedDialog(540, 185);

    edt_retirada = lineEdit(QStringLiteral("edt_retirada"));
    edt_repassa = lineEdit(QStringLiteral("edt_repassa"));
    edt_motivo = lineEdit(QStringLiteral("edt_motivo"));
    edt_cont = lineEdit(QStringLiteral("edt_cont"));
    edt_data = lineEdit(QStringLiteral("edt_data"));
    edt_hora = lineEdit(QStringLiteral("edt_hora"));
    edt_responsavel = lineEdit(QStringLiteral("edt_responsavel"));
    edt_operador = lineEdit(QStringLiteral("edt_operador"));
    edt_caixa = lineEdit(QStringLiteral("edt_caixa"));

    QFont redBold = edt_retirada->font();
    redBold.setBold(true);
    redBold.setPointSize(12);
    for (QLineEdit* e : {edt_retirada, edt_repassa, edt_motivo}) {
        e->setFont(redBold);
        e->setStyleSheet(QStringLiteral("color: red;"));
    }
    KeyFilter::money(edt_retirada, true);
    KeyFilter::upperCase(edt_repassa);
    KeyFilter::upperCase(edt_motivo);
    edt_motivo->setMaxLength(25);

    edt_cont->setText(QStringLiteral("0"));
    edt_cont->setEnabled(false);
    for (QLineEdit* e : {edt_data, edt_hora}) {
        e->setEnabled(false);
        e->setReadOnly(true);
    }
    KeyFilter::upperCase(edt_responsavel);
    KeyFilter::upperCase(edt_operador);
    for (QLineEdit* e : {edt_cont, edt_data, edt_hora, edt_responsavel, edt_operador, edt_caixa})
        e->hide();

    connect(edt_retirada, &QLineEdit::returnPressed, this,
            [this] { edt_repassa->setFocus(Qt::OtherFocusReason); });
    connect(edt_repassa, &QLineEdit::returnPressed, this,
            [this] { edt_motivo->setFocus(Qt::OtherFocusReason); });
    connect(edt_motivo, &QLineEdit::returnPressed, this, [this] { guard([this] { SpeedButton1Click(); }); });

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Retirar"),
                               [this] { SpeedButton1Click(); });
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton2Click(); });
    SpeedButton1->setMinimumWidth(100);
    SpeedButton2->setMinimumWidth(100);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Valor da Sangria:"), true), 0, 0);
    grid->addWidget(edt_retirada, 0, 1);
    grid->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Repassado para:"), true), 1, 0);
    grid->addWidget(edt_repassa, 1, 1);
    grid->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Motivo:"), true), 2, 0);
    grid->addWidget(edt_motivo, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton2);
    buttons->addWidget(SpeedButton1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(edt_retirada, edt_repassa);
    setTabOrder(edt_repassa, edt_motivo);

    Timer1 = clockTimer([this] { Timer1Timer(); });
    Timer1Timer();

    followWhileShown(&m_till, &TillModel::changed, [this] { refresh(); });
}

void WithdrawalDialog::Timer1Timer() {
    edt_data->setText(Clock::dateText());
    edt_hora->setText(Clock::timeText());
}

void WithdrawalDialog::FormShow() {
    Timer1Timer();
    edt_retirada->clear();
    edt_repassa->clear();
    edt_motivo->clear();
    edt_retirada->setFocus(Qt::OtherFocusReason);
}

void WithdrawalDialog::refresh() {
    const TillModel& till = m_till;
    edt_cont->setText(till.withdrawalsText());
    edt_responsavel->setText(till.till().responsible);
    edt_operador->setText(till.till().operatorName);
    edt_caixa->setText(till.numberText());
}

void WithdrawalDialog::SpeedButton1Click() {
    TillModel& till = m_till;
    const QString amount = edt_retirada->text();
    // Every figure is worked out before anything happens; an unreadable amount stops here.
    const TillModel::Withdrawal after = till.withdrawal(amount);

    // The receipt prints before any figure changes: when the printer fails, the withdrawal has not
    // happened and the window keeps its entries for another try. The withdrawal is booked with the
    // receipt's printed mark.
    WithdrawalReceipt* receipt = &m_receipt;
    receipt->setCaption(QStringLiteral("qr_responsavel"), edt_responsavel->text());
    receipt->setCaption(QStringLiteral("qr_operador"), edt_operador->text());
    receipt->setCaption(QStringLiteral("qr_data"), edt_data->text());
    receipt->setCaption(QStringLiteral("qr_hora"), edt_hora->text());
    receipt->setRecipient(edt_repassa->text());
    receipt->setReason(edt_motivo->text());
    receipt->setCaption(QStringLiteral("qr_valor"), amount);
    receipt->setCaption(QStringLiteral("q_nret"), QString::number(after.count));
    receipt->setCaption(QStringLiteral("q_ncaixa"), edt_caixa->text());
    try {
        till.withdraw(amount, *receipt);
    } catch (const PrintDoubt& e) {
        // The cashier says whether the receipt came out: the withdrawal is booked exactly then.
        Messages::error(this, e.text());
        const int before = after.count - 1;
        settleInDoubt(this, till);
        if (till.till().withdrawals != before) accept();
        return;
    }

    Messages::plain(this, QStringLiteral("Retirada Efetuada com Sucesso!"));
    accept();
}

void WithdrawalDialog::SpeedButton2Click() {
    reject();
}
