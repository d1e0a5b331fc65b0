#include "accountclosingdialog.h"

#include "core/creditbook/creditbookstore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

AccountClosingDialog::AccountClosingDialog(Database& db)
    : Form(QStringLiteral("f_conf_fechamento"), QStringLiteral("Confirmar Fechamento de Conta")), m_db(db) {
    setFixedDialog(400, 170);
    auto* layout = new QGridLayout(this);
    layout->addWidget(
        label(QStringLiteral("Label1"), QStringLiteral("Deseja mesmo fechar a ficha de:"), true), 0, 0, 1, 2);
    lnome = label(QStringLiteral("lnome"), QString(), true);
    layout->addWidget(lnome, 1, 0, 1, 2);
    layout->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Valor da Conta:"), true), 2, 0);
    lvalor = label(QStringLiteral("lvalor"), QString(), true);
    layout->addWidget(lvalor, 2, 1);
    for (QLabel* l : {lnome, lvalor}) {
        QFont f = l->font();
        f.setPointSize(12);
        l->setFont(f);
        l->setStyleSheet(QStringLiteral("color: maroon;"));
    }
    lid = label(QStringLiteral("lid"), QString());
    lid->hide();

    auto* buttons = new QHBoxLayout;
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Sim! Fechar"),
                               [this] { SpeedButton1Click(); });
    SpeedButton1->setStyleSheet(QStringLiteral("color: red;"));
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Não! Cancelar"),
                               [this] { SpeedButton2Click(); });
    SpeedButton2->setStyleSheet(QStringLiteral("color: blue;"));
    for (QPushButton* b : {SpeedButton1, SpeedButton2}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setMinimumHeight(34);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons, 3, 0, 1, 2);
}

void AccountClosingDialog::SpeedButton1Click() {
    // the items and the account, or neither: a refusal leaves the sheet showing its account
    CreditBookStore::closeAccount(m_db, lid->text().toLongLong());
    emit accountClosed(); // the sheet of that account closes
    accept();
}

void AccountClosingDialog::setAccount(const QString& name, const QString& total, const QString& id) {
    lnome->setText(name);
    lvalor->setText(total);
    lid->setText(id);
}

void AccountClosingDialog::SpeedButton2Click() {
    reject();
}
