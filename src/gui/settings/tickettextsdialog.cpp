#include "tickettextsdialog.h"

#include "core/settings/festastore.h"
#include "gui/common/fieldwidth.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TicketTextsDialog::TicketTextsDialog(Database& db)
    : Form(QStringLiteral("f_confi_impr"), QStringLiteral("Dados da Festa")), m_db(db) {
    setFixedDialog(480, 250);
    DBEdit1 = lineEdit(QStringLiteral("DBEdit1"));
    limitToColumn(DBEdit1, db, QStringLiteral("tbl_festa"), QStringLiteral("cabecalho"));
    DBEdit2 = lineEdit(QStringLiteral("DBEdit2"));
    limitToColumn(DBEdit2, db, QStringLiteral("tbl_festa"), QStringLiteral("rodape"));
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

void TicketTextsDialog::showStored() {
    const TicketTexts stored = FestaStore::texts(m_db);
    DBEdit1->setText(stored.header);
    DBEdit2->setText(stored.footer);
}

void TicketTextsDialog::FormShow() {
    showStored();
}

void TicketTextsDialog::SpeedButton1Click() {
    // nothing typed: the texts are stored as they are
    FestaStore::save(m_db, TicketTexts{DBEdit1->text(), DBEdit2->text()});
    emit textsSaved();
    Messages::plain(this, QStringLiteral("Dados Cadastrados!"));
    accept();
}

void TicketTextsDialog::setFestaMode(bool festa) {
    if (festa) guard([this] { showStored(); }); // typing not stored is dropped
    for (QLineEdit* field : {DBEdit1, DBEdit2}) {
        field->setReadOnly(festa);
        field->setEnabled(!festa);
    }
    SpeedButton1->setEnabled(!festa);
    l_festa->setVisible(festa);
}

void TicketTextsDialog::SpeedButton2Click() {
    reject(); // what was typed is dropped: the next showing shows the stored texts
}
