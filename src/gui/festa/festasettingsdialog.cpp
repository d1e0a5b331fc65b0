#include "festasettingsdialog.h"

#include "core/base/errors.h"
#include "core/festa/festaconnection.h"
#include "core/festa/festadesk.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

FestaSettingsDialog::FestaSettingsDialog()
    : Form(QStringLiteral("f_festa"), QStringLiteral("Festa de Várias Caixas")) {
    setClosesOnEscape();
    edt_servidor = lineEdit(QStringLiteral("edt_servidor"));
    edt_servidor->setPlaceholderText(QStringLiteral("192.168.0.10 ou tesouraria.local"));
    edt_porta = new QSpinBox(this);
    edt_porta->setObjectName(QStringLiteral("edt_porta"));
    edt_porta->setRange(1, 65535);
    edt_porta->setValue(FestaSettings().port);
    edt_caixa = lineEdit(QStringLiteral("edt_caixa"));
    edt_caixa->setPlaceholderText(QStringLiteral("Caixa 2"));
    edt_senha = lineEdit(QStringLiteral("edt_senha"));
    edt_senha->setEchoMode(QLineEdit::Password);
    edt_senha_tesouraria = lineEdit(QStringLiteral("edt_senha_tesouraria"));
    edt_senha_tesouraria->setEchoMode(QLineEdit::Password);
    edt_senha_tesouraria->setPlaceholderText(QStringLiteral("só no computador do Painel da Festa"));
    l_estado = label(QStringLiteral("l_estado"), QString(), false);
    l_estado->setWordWrap(true);
    l_estado->setMinimumHeight(2 * l_estado->fontMetrics().lineSpacing());
    bt_testar = speedButton(QStringLiteral("bt_testar"), QStringLiteral("Testar conexão"),
                            [this] { bt_testarClick(); });
    bt_sair =
        speedButton(QStringLiteral("bt_sair"), QStringLiteral("Sair da festa"), [this] { bt_sairClick(); });
    bt_salvar =
        speedButton(QStringLiteral("bt_salvar"), QStringLiteral("Salvar"), [this] { bt_salvarClick(); });
    bt_cancelar =
        speedButton(QStringLiteral("bt_cancelar"), QStringLiteral("Cancelar"), [this] { reject(); });

    auto* rows = new QFormLayout;
    rows->addRow(QStringLiteral("Endereço do servidor"), edt_servidor);
    rows->addRow(QStringLiteral("Porta"), edt_porta);
    rows->addRow(QStringLiteral("Nome deste caixa"), edt_caixa);
    rows->addRow(QStringLiteral("Senha dos caixas"), edt_senha);
    rows->addRow(QStringLiteral("Senha da tesouraria"), edt_senha_tesouraria);

    QLabel* about = label(QStringLiteral("Label2"),
                          QStringLiteral("Este caixa envia as vendas ao computador da tesouraria enquanto "
                                         "vende. Sem rede ele vende do mesmo jeito e envia depois."));
    about->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        label(QStringLiteral("Label1"), QStringLiteral("O servidor da festa e este caixa nela"), true));
    layout->addWidget(about);
    layout->addSpacing(6);
    layout->addLayout(rows);
    layout->addWidget(l_estado);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bt_testar);
    buttons->addWidget(bt_sair);
    buttons->addStretch();
    buttons->addWidget(bt_salvar);
    buttons->addWidget(bt_cancelar);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    setTabOrder(edt_servidor, edt_porta);
    setTabOrder(edt_porta, edt_caixa);
    setTabOrder(edt_caixa, edt_senha);
    setTabOrder(edt_senha, edt_senha_tesouraria);
}

void FestaSettingsDialog::setFesta(FestaDesk* desk) {
    m_desk = desk;
}

void FestaSettingsDialog::FormShow() {
    const std::optional<FestaSettings> saved = FestaSettings::load();
    const FestaSettings s = saved.value_or(FestaSettings());
    edt_servidor->setText(s.host);
    edt_porta->setValue(s.port);
    edt_caixa->setText(s.deskName);
    edt_senha->setText(s.password);
    edt_senha_tesouraria->setText(s.treasurerPassword);
    m_database = s.database;
    bt_sair->setEnabled(saved.has_value());
    showState(QString(), false);
    edt_servidor->setFocus(Qt::OtherFocusReason);
}

FestaSettings FestaSettingsDialog::settings() const {
    FestaSettings s;
    s.host = edt_servidor->text().trimmed();
    s.port = edt_porta->value();
    s.database = m_database;
    s.deskName = edt_caixa->text().trimmed();
    s.password = edt_senha->text();
    s.treasurerPassword = edt_senha_tesouraria->text();
    return s;
}

bool FestaSettingsDialog::complete(bool forSaving) {
    const FestaSettings s = settings();
    if (s.host.isEmpty()) {
        Messages::plain(this, QStringLiteral("Digite o endereço do servidor da festa: o nome ou o endereço "
                                             "do computador da tesouraria na rede."));
        edt_servidor->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (forSaving && s.deskName.isEmpty()) {
        Messages::plain(this,
                        QStringLiteral("Digite o nome deste caixa na festa (por exemplo Caixa 2), como a "
                                       "tesouraria vai vê-lo no painel."));
        edt_caixa->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

void FestaSettingsDialog::showState(const QString& text, bool trouble) {
    l_estado->setText(text);
    l_estado->setStyleSheet(trouble ? QStringLiteral("color: #d00000;") : QString());
}

void FestaSettingsDialog::bt_testarClick() {
    if (!complete(false)) return;
    // A server that does not answer takes seconds: the window stays alive meanwhile.
    showState(QStringLiteral("Procurando o servidor da festa..."), false);
    bt_testar->setEnabled(false);
    auto* answer = new QFutureWatcher<QString>(this);
    connect(answer, &QFutureWatcher<QString>::finished, this, [this, answer] {
        const QString problem = answer->result();
        showState(problem.isEmpty() ? QStringLiteral("Conexão com o servidor da festa: tudo certo.")
                                    : problem,
                  !problem.isEmpty());
        bt_testar->setEnabled(true);
        answer->deleteLater();
    });
    answer->setFuture(QtConcurrent::run(testFestaConnection, settings()));
}

void FestaSettingsDialog::bt_salvarClick() {
    if (!complete(true)) return;
    const FestaSettings s = settings();
    s.save();
    emit settingsSaved(s);
    Messages::plain(this,
                    QStringLiteral("Festa configurada! Este caixa envia as vendas ao servidor da festa."));
    accept();
}

void FestaSettingsDialog::bt_sairClick() {
    QString question = QStringLiteral("Este caixa vai sair da festa e trabalhar sozinho: as vendas deixam de "
                                      "ir para o servidor da festa.");
    if (m_desk) {
        const qint64 waiting = m_desk->state().waiting;
        if (waiting > 0)
            question +=
                QStringLiteral("\n\n%1 ainda não chegaram ao servidor e ficarão fora do total da festa.")
                    .arg(waiting == 1 ? QStringLiteral("1 registro deste caixa")
                                      : QStringLiteral("%1 registros deste caixa").arg(waiting));
    }
    if (!Messages::question(this, question + QStringLiteral("\n\nSair da festa?"))) return;
    FestaSettings::remove();
    if (QFileInfo::exists(FestaSettings::fileName()))
        throw AppError(QStringLiteral("Não foi possível apagar a configuração da festa em \"%1\".")
                           .arg(QDir::toNativeSeparators(FestaSettings::fileName())));
    emit festaLeft();
    Messages::plain(this, QStringLiteral("Este caixa saiu da festa e agora trabalha sozinho."));
    accept();
}
