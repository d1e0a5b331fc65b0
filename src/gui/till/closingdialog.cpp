#include "closingdialog.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/reports/closingreport.h"
#include "core/till/productkeys.h"
#include "core/till/tillmodel.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"
#include "gui/common/printsettlement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ClosingDialog::ClosingDialog(TillModel& till, ClosingReport& report)
    : Form(QStringLiteral("f_fechamento"), QStringLiteral("Fechamento de Caixa")), m_till(till),
      m_report(report) {
    setFixedDialog(460, 250);

    QLabel* question =
        label(QStringLiteral("Label1"), QStringLiteral("Tem certeza que deseja fechar o caixa atual?"), true);
    QFont qf = question->font();
    qf.setPointSize(11);
    question->setFont(qf);

    lncaixa = label(QStringLiteral("lncaixa"), QString(), true);
    QFont nf = lncaixa->font();
    nf.setPointSize(14);
    lncaixa->setFont(nf);
    lncaixa->setStyleSheet(QStringLiteral("color: #0000a0;"));
    ldata = label(QStringLiteral("ldata"), QString());
    lhora = label(QStringLiteral("lhora"), QString());
    ldata->hide();
    lhora->hide();

    Edit1 = lineEdit(QStringLiteral("Edit1"));
    KeyFilter::upperCase(Edit1);
    QFont ef = Edit1->font();
    ef.setBold(true);
    ef.setPointSize(11);
    Edit1->setFont(ef);
    // Enter only makes "Fechar" available; it never presses it.
    connect(Edit1, &QLineEdit::returnPressed, this, [this] {
        bt_fechar->setEnabled(true);
        edt_contado->setFocus();
    });

    // Optional: the cash found in the drawer, kept in the history beside the cash expected.
    edt_contado = lineEdit(QStringLiteral("edt_contado"));
    KeyFilter::money(edt_contado, true);
    edt_contado->setFont(ef);

    QLabel* hint = label(QStringLiteral("Label4"), QStringLiteral("* Digite o nome e tecle ENTER"));
    hint->setStyleSheet(QStringLiteral("color: #a00000;"));

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton1Click(); });
    bt_fechar =
        speedButton(QStringLiteral("bt_fechar"), QStringLiteral("Fechar"), [this] { bt_fecharClick(); });
    bt_fechar->setEnabled(false);
    for (QPushButton* b : {SpeedButton1, bt_fechar})
        b->setMinimumSize(100, 30);

    auto* fields = new QGridLayout;
    fields->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Nº do Caixa:"), true), 0, 0);
    fields->addWidget(lncaixa, 0, 1);
    fields->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Caixa Fechado Por:"), true), 1, 0);
    fields->addWidget(Edit1, 1, 1);
    fields->addWidget(hint, 2, 1);
    fields->addWidget(label(QStringLiteral("Label5"), QStringLiteral("Dinheiro contado:"), true), 3, 0);
    fields->addWidget(edt_contado, 3, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(bt_fechar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(question, 0, Qt::AlignHCenter);
    layout->addSpacing(10);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);

    Timer1Timer();
    clockTimer([this] { Timer1Timer(); });
}

void ClosingDialog::Timer1Timer() {
    const QDateTime now = Clock::now();
    ldata->setText(Clock::dateText(now));
    lhora->setText(Clock::timeText(now));
}

void ClosingDialog::setTillNumber(const QString& number) {
    lncaixa->setText(number);
}

void ClosingDialog::FormShow() {
    bt_fechar->setEnabled(false);
    Edit1->clear();
    edt_contado->clear();
    Edit1->setFocus();
}

void ClosingDialog::SpeedButton1Click() {
    reject();
}

void ClosingDialog::bt_fecharClick() {
    if (!bt_fechar->isEnabled()) return;
    TillModel& till = m_till;
    ClosingReport* r = &m_report;

    // An unreadable counted amount stops before anything prints; empty means not counted.
    const QString counted = edt_contado->text();
    if (!counted.isEmpty() && !Money::isValid(counted)) {
        Messages::warning(this, QStringLiteral("Dinheiro contado inválido: \"%1\"").arg(counted));
        edt_contado->setFocus();
        return;
    }

    // 1. The tickets sold of every key, read afresh.
    till.recount();

    // 2. The report takes the figures as they stand, unchanged.
    const TillStore::TillRow& t = till.till();
    for (const QChar k : ProductKeys::all()) {
        r->setCaption(QStringLiteral("qr") + k, till.countText(k));
        r->setCaption(QStringLiteral("pd") + k, till.name(k));
    }
    // One moment for the report and the history: the clock read once, now.
    const QDateTime at = Clock::now();
    r->setCaption(QStringLiteral("qr_data"), Clock::dateText(at));
    r->setCaption(QStringLiteral("qr_hora"), Clock::timeText(at));
    r->setCaption(QStringLiteral("qr_fechado"), Edit1->text());
    r->setCaption(QStringLiteral("qr_qsangria"), till.withdrawalsText());
    r->setCaption(QStringLiteral("qr_entrada"), t.floatText);
    r->setCaption(QStringLiteral("qr_sangria"), t.withdrawn);
    r->setCaption(QStringLiteral("qr_caixa"), t.cash);
    r->setCaption(QStringLiteral("q_ncaixa"), lncaixa->text());

    // 3. The report prints; a print that fails stops here: the till stays open with its tally.
    // 4. The till's sales are done with and the till ends, together with the report's printed mark.
    try {
        till.close(counted.isEmpty() ? std::nullopt : std::optional<QString>(counted), Edit1->text(), at, *r);
    } catch (const PrintDoubt& e) {
        // The cashier says whether the report came out: the till closes exactly then.
        Messages::error(this, e.text());
        settleInDoubt(this, till);
        if (till.isOpen()) return;
    }

    // 5. The sales screen, then this window (the prompt follows).
    emit tillClosed();
    accept();
}
