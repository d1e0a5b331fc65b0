#include "openingdialog.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/reports/openingreport.h"
#include "core/settings/productstore.h"
#include "core/till/tillmodel.h"
#include "gui/common/keyfilter.h"
#include "gui/common/printsettlement.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

OpeningDialog::OpeningDialog(Database& db, TillModel& till, OpeningReport& report)
    : Form(QStringLiteral("f_abertura"), QStringLiteral("Abertura de Caixa")), m_db(db), m_till(till),
      m_report(report) {
    setFixedDialog(440, 215);

    edt_responsavel = lineEdit(QStringLiteral("edt_responsavel"));
    edt_operador = lineEdit(QStringLiteral("edt_operador"));
    edt_data = lineEdit(QStringLiteral("edt_data"));
    edt_hora = lineEdit(QStringLiteral("edt_hora"));
    edt_entrada = lineEdit(QStringLiteral("edt_entrada"));
    dbe_cont = lineEdit(QStringLiteral("dbe_cont"));
    dbe_cont->setReadOnly(true);
    dbe_cont->hide();

    KeyFilter::upperCase(edt_responsavel);
    KeyFilter::upperCase(edt_operador);
    KeyFilter::money(edt_entrada, true);
    for (QLineEdit* e : {edt_data, edt_hora}) {
        e->setReadOnly(true);
        e->setEnabled(false);
        e->setAlignment(Qt::AlignCenter);
    }
    QFont big = edt_entrada->font();
    big.setPointSize(14);
    big.setBold(true);
    edt_entrada->setFont(big);
    edt_entrada->setAlignment(Qt::AlignRight);
    edt_entrada->setText(QStringLiteral("0,00"));

    edt_responsavel->installEventFilter(this);
    edt_operador->installEventFilter(this);

    auto moveTo = [](QLineEdit* next) {
        next->setFocus(Qt::OtherFocusReason);
        next->selectAll();
    };
    connect(edt_responsavel, &QLineEdit::returnPressed, this, [this, moveTo] { moveTo(edt_operador); });
    connect(edt_operador, &QLineEdit::returnPressed, this, [this, moveTo] { moveTo(edt_entrada); });
    connect(edt_entrada, &QLineEdit::returnPressed, this, [this] { guard([this] { edt_entradaEnter(); }); });

    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton2Click(); });
    SpeedButton2->setMinimumWidth(100);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Responsável"), true), 0, 0);
    grid->addWidget(edt_responsavel, 0, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Operador"), true), 1, 0);
    grid->addWidget(edt_operador, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Data"), true), 2, 0);
    grid->addWidget(edt_data, 2, 1);
    grid->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Hora"), true), 2, 2, Qt::AlignRight);
    grid->addWidget(edt_hora, 2, 3);
    QLabel* entrada = label(QStringLiteral("Label5"), QStringLiteral("Entrada"), true);
    QFont ef = entrada->font();
    ef.setPointSize(12);
    entrada->setFont(ef);
    grid->addWidget(entrada, 3, 0);
    grid->addWidget(edt_entrada, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    QLabel* hint = label(QStringLiteral("Label6"), QStringLiteral("ENTER na Entrada abre o caixa"));
    hint->setStyleSheet(QStringLiteral("color: gray;"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint);
    buttons->addStretch();
    buttons->addWidget(SpeedButton2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(edt_responsavel, edt_operador);
    setTabOrder(edt_operador, edt_entrada);

    Timer1 = clockTimer([this] { Timer1Timer(); });
    Timer1Timer();
}

void OpeningDialog::Timer1Timer() {
    edt_data->setText(Clock::dateText());
    edt_hora->setText(Clock::timeText());
}

void OpeningDialog::FormShow() {
    Timer1Timer();
    edt_responsavel->clear();
    edt_operador->clear();
    edt_entrada->setText(QStringLiteral("0,00"));
    m_refusing = true; // leaving whatever field had the focus last time is no exit
    edt_responsavel->setFocus(Qt::OtherFocusReason);
    m_refusing = false;
    dbe_cont->setText(ProductStore::tillCounter(m_db));
}

bool OpeningDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && isVisible() && !m_refusing) {
        // Only a move to another field of this window is an exit; another window taking the
        // keyboard (a message box, the sales screen) is not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason) {
            if (watched == edt_responsavel)
                checkNotEmpty(edt_responsavel,
                              QStringLiteral("O campo RESPONSÁVEL não pode ficar em branco"));
            else if (watched == edt_operador)
                checkNotEmpty(edt_operador, QStringLiteral("O campo OPERADOR não pode ficar em branco"));
        }
    }
    return Form::eventFilter(watched, event);
}

void OpeningDialog::checkNotEmpty(QLineEdit* edit, const QString& message) {
    if (!edit->text().isEmpty()) return;
    // While the message shows and the focus goes back, the field being left is no exit either.
    m_refusing = true;
    guard([&] { Messages::plain(this, message); });
    edit->setFocus(Qt::OtherFocusReason);
    m_refusing = false;
}

void OpeningDialog::edt_entradaEnter() {
    // A float that is not an amount would open a till in which every sale and withdrawal fails
    // after its tickets printed: refuse it before anything changes.
    if (!Money::isValid(edt_entrada->text())) {
        Messages::plain(this, QStringLiteral("O campo ENTRADA deve conter um valor válido"));
        edt_entrada->setFocus(Qt::OtherFocusReason);
        edt_entrada->selectAll();
        return;
    }
    bt_abreClick();
}

void OpeningDialog::bt_abreClick() {
    TillModel& till = m_till;
    const TillModel::Opening opening{edt_responsavel->text(), edt_operador->text(), edt_data->text(),
                                     edt_hora->text(), edt_entrada->text()};
    // The new till number is the counter plus one; at its largest value nothing opens.
    const qint64 number = till.nextNumber();
    const QString numero = QString::number(number);

    // The report prints before anything is stored: a printer that fails leaves everything as it was.
    // The counter, the emptied tally and sale and the new till's figures are stored with its mark.
    OpeningReport* report = &m_report;
    report->setCaption(QStringLiteral("qr_responsavel"), opening.responsible);
    report->setCaption(QStringLiteral("qr_operador"), opening.operatorName);
    report->setCaption(QStringLiteral("qr_data"), opening.date);
    report->setCaption(QStringLiteral("qr_hora"), opening.time);
    report->setCaption(QStringLiteral("qr_entrada"), opening.floatText);
    report->setCaption(QStringLiteral("q_ncaixa"), numero);
    try {
        till.open(opening, number, *report);
    } catch (const PrintDoubt& e) {
        // The cashier says whether the report came out: the till opens exactly then.
        Messages::error(this, e.text());
        settleInDoubt(this, till);
        if (!till.isOpen()) return;
    }
    dbe_cont->setText(numero); // the counter as now stored

    till.clearSale();
    emit tillOpened(); // the sales screen: the whole till runs in there
    accept();
}

void OpeningDialog::SpeedButton2Click() {
    reject();
}
