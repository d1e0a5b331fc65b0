#include "tickettextsdialog.h"

#include "core/db/datamodule.h"
#include "gui/common/dbedit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TicketTextsDialog::TicketTextsDialog(DataModule& dm)
    : Form(QStringLiteral("f_confi_impr"), QStringLiteral("Dados da Festa")), m_dm(dm) {
    setFixedDialog(480, 250);
    Dataset* q = m_dm.q_festa;
    DBEdit1 = new DBEdit(this, QStringLiteral("DBEdit1"), q, QStringLiteral("cabecalho"));
    DBEdit2 = new DBEdit(this, QStringLiteral("DBEdit2"), q, QStringLiteral("rodape"));
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Salvar"),
                               [this] { SpeedButton1Click(); });
    SpeedButton2 =
        speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Sair"), [this] { SpeedButton2Click(); });
    SpeedButton1->setMinimumWidth(90);
    SpeedButton2->setMinimumWidth(90);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(label(QStringLiteral("Label1"),
                            QStringLiteral("* Nessa tela você irá configurar as informações que serão "),
                            true));
    layout->addWidget(
        label(QStringLiteral("Label2"), QStringLiteral("impressas nas fichas emitidas pelo sistema."), true));
    layout->addSpacing(12);
    layout->addWidget(
        label(QStringLiteral("Label3"), QStringLiteral("Nome da Festa (Cabeçalho da Ficha)"), true));
    layout->addWidget(DBEdit1);
    layout->addSpacing(6);
    layout->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Informação do Rodapé da Ficha"), true));
    layout->addWidget(DBEdit2);
    l_festa = label(QStringLiteral("l_festa"),
                    QStringLiteral("Nesta festa o cabeçalho e o rodapé vêm do Painel da Festa."), false);
    l_festa->setWordWrap(true);
    l_festa->hide();
    layout->addWidget(l_festa);
    layout->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);
    layout->addLayout(buttons);
    setTabOrder(DBEdit1, DBEdit2);
}

void TicketTextsDialog::SpeedButton1Click() {
    Dataset* q = m_dm.q_festa;
    if (q->state() == Dataset::State::Browse) q->edit(); // nothing typed: the row is stored as it is
    q->post();
    Messages::plain(this, QStringLiteral("Dados Cadastrados!"));
    accept();
}

void TicketTextsDialog::setFestaMode(bool festa) {
    if (festa) m_dm.q_festa->cancel();
    for (DBEdit* field : {DBEdit1, DBEdit2}) {
        field->setReadOnly(festa);
        field->setEnabled(!festa);
    }
    SpeedButton1->setEnabled(!festa);
    l_festa->setVisible(festa);
}

void TicketTextsDialog::SpeedButton2Click() {
    m_dm.q_festa->cancel();
    reject();
}

void TicketTextsDialog::FormClose() {
    // The close box discards like "Sair", so no half-typed text reaches a ticket.
    m_dm.q_festa->cancel();
}
