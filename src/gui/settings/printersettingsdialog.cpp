#include "printersettingsdialog.h"

#include "core/print/escposprinter.h"
#include "core/print/printserver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

using Kind = PrinterSettings::Kind;

// Asks the printer the fields describe; blocks for up to a few seconds.
QString stateOf(const PrinterSettings& s) {
    if (s.kind == Kind::PrintServer) return PrintServer::printerStatus().line();
    EscPosPrintSink sink(s);
    return sink.probe().line();
}

} // namespace

PrinterSettingsDialog::PrinterSettingsDialog()
    : Form(QStringLiteral("f_impressora"), QStringLiteral("Impressora das Fichas")) {
    setClosesOnEscape();
    cb_tipo = new QComboBox(this);
    cb_tipo->setObjectName(QStringLiteral("cb_tipo"));
    cb_tipo->addItem(QStringLiteral("Impressora do sistema (servidor de impressão)"), int(Kind::PrintServer));
    cb_tipo->addItem(QStringLiteral("Impressora térmica ESC/POS na rede"), int(Kind::Network));
    cb_tipo->addItem(QStringLiteral("Impressora térmica ESC/POS na USB"), int(Kind::Usb));
    edt_endereco = new QLineEdit(this);
    edt_endereco->setObjectName(QStringLiteral("edt_endereco"));
    edt_endereco->setPlaceholderText(QStringLiteral("192.168.0.50"));
    edt_porta = new QSpinBox(this);
    edt_porta->setObjectName(QStringLiteral("edt_porta"));
    edt_porta->setRange(1, 65535);
    edt_dispositivo = new QLineEdit(this);
    edt_dispositivo->setObjectName(QStringLiteral("edt_dispositivo"));
    cb_papel = new QComboBox(this);
    cb_papel->setObjectName(QStringLiteral("cb_papel"));
    cb_papel->addItem(QStringLiteral("58 mm"), 58);
    cb_papel->addItem(QStringLiteral("80 mm"), 80);
    ck_corte = new QCheckBox(QStringLiteral("Cortar o papel depois de cada ficha"), this);
    ck_corte->setObjectName(QStringLiteral("ck_corte"));
    l_estado = label(QStringLiteral("l_estado"), QString(), false);
    l_estado->setWordWrap(true);
    bt_testar =
        speedButton(QStringLiteral("bt_testar"), QStringLiteral("Testar"), [this] { bt_testarClick(); });
    bt_salvar =
        speedButton(QStringLiteral("bt_salvar"), QStringLiteral("Salvar"), [this] { bt_salvarClick(); });
    bt_cancelar =
        speedButton(QStringLiteral("bt_cancelar"), QStringLiteral("Cancelar"), [this] { reject(); });

    m_rows = new QFormLayout;
    m_rows->addRow(QStringLiteral("Endereço da impressora"), edt_endereco);
    m_rows->addRow(QStringLiteral("Porta"), edt_porta);
    m_rows->addRow(QStringLiteral("Dispositivo"), edt_dispositivo);
    m_rows->addRow(QStringLiteral("Largura do papel"), cb_papel);
    m_rows->addRow(QString(), ck_corte);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        label(QStringLiteral("Label1"), QStringLiteral("Para onde vão as fichas e os relatórios"), true));
    layout->addWidget(cb_tipo);
    layout->addLayout(m_rows);
    layout->addWidget(l_estado);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bt_testar);
    buttons->addStretch();
    buttons->addWidget(bt_salvar);
    buttons->addWidget(bt_cancelar);
    layout->addLayout(buttons);
    setMinimumWidth(520);
    connect(cb_tipo, &QComboBox::currentIndexChanged, this, &PrinterSettingsDialog::showKind);
}

void PrinterSettingsDialog::FormShow() {
    const PrinterSettings s = PrinterSettings::load();
    cb_tipo->setCurrentIndex(cb_tipo->findData(int(s.kind)));
    edt_endereco->setText(s.host);
    edt_porta->setValue(s.port);
    edt_dispositivo->setText(s.device);
    cb_papel->setCurrentIndex(cb_papel->findData(s.paperMm));
    ck_corte->setChecked(s.cutEachTicket);
    l_estado->clear();
    showKind();
    cb_tipo->setFocus(Qt::OtherFocusReason);
}

void PrinterSettingsDialog::showKind() {
    const auto kind = Kind(cb_tipo->currentData().toInt());
    m_rows->setRowVisible(edt_endereco, kind == Kind::Network);
    m_rows->setRowVisible(edt_porta, kind == Kind::Network);
    m_rows->setRowVisible(edt_dispositivo, kind == Kind::Usb);
    m_rows->setRowVisible(cb_papel, kind != Kind::PrintServer);
    m_rows->setRowVisible(ck_corte, kind != Kind::PrintServer);
    adjustSize();
}

PrinterSettings PrinterSettingsDialog::settings() const {
    PrinterSettings s;
    s.kind = Kind(cb_tipo->currentData().toInt());
    s.host = edt_endereco->text().trimmed();
    s.port = edt_porta->value();
    s.device = edt_dispositivo->text().trimmed();
    s.paperMm = cb_papel->currentData().toInt();
    s.cutEachTicket = ck_corte->isChecked();
    return s;
}

void PrinterSettingsDialog::bt_testarClick() {
    // A printer that does not answer takes seconds: the window stays alive meanwhile.
    l_estado->setText(QStringLiteral("Perguntando à impressora..."));
    bt_testar->setEnabled(false);
    auto* answer = new QFutureWatcher<QString>(this);
    connect(answer, &QFutureWatcher<QString>::finished, this, [this, answer] {
        l_estado->setText(answer->result());
        bt_testar->setEnabled(true);
        answer->deleteLater();
    });
    answer->setFuture(QtConcurrent::run(stateOf, settings()));
}

void PrinterSettingsDialog::bt_salvarClick() {
    const PrinterSettings s = settings();
    if (s.kind == Kind::Network && s.host.isEmpty()) {
        Messages::plain(this, QStringLiteral("Digite o endereço da impressora na rede."));
        edt_endereco->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (s.kind == Kind::Usb && s.device.isEmpty()) {
        Messages::plain(this,
                        QStringLiteral("Digite o dispositivo da impressora USB (por exemplo /dev/usb/lp0)."));
        edt_dispositivo->setFocus(Qt::OtherFocusReason);
        return;
    }
    s.save();
    emit settingsSaved(s);
    Messages::plain(this, QStringLiteral("Impressora configurada!"));
    accept();
}
