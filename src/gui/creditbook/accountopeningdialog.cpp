#include "accountopeningdialog.h"

#include "core/creditbook/creditbookstore.h"
#include "gui/common/fieldwidth.h"
#include "gui/common/keyfilter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

AccountOpeningDialog::AccountOpeningDialog(Database& db)
    : Form(QStringLiteral("f_abrir_ficha"), QStringLiteral("Abertura de Caderneta")), m_db(db) {
    setNoSystemMenu();
    resize(440, 110);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label(QStringLiteral("Nome"), QStringLiteral("Nome"), true), 0, 0);
    DBEdit1 = lineEdit(QStringLiteral("DBEdit1"));
    KeyFilter::upperCase(DBEdit1);
    limitToColumn(DBEdit1, db, QStringLiteral("tbl_caderneta"), QStringLiteral("nome"));
    QFont f = DBEdit1->font();
    f.setPointSize(11);
    DBEdit1->setFont(f);
    DBEdit1->setMinimumWidth(DBEdit1->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 22);
    connect(DBEdit1, &QLineEdit::returnPressed, this, [this] { guard([this] { SpeedButton1Click(); }); });
    layout->addWidget(DBEdit1, 0, 1);

    auto* buttons = new QHBoxLayout;
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Abrir Ficha"),
                               [this] { SpeedButton1Click(); });
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton2Click(); });
    buttons->addStretch();
    for (QPushButton* b : {SpeedButton1, SpeedButton2}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons, 1, 0, 1, 2);
}

void AccountOpeningDialog::FormShow() {
    DBEdit1->clear();
    DBEdit1->setFocus();
}

void AccountOpeningDialog::SpeedButton1Click() {
    if (DBEdit1->text().isEmpty()) {
        Messages::plain(this, QStringLiteral("O campo NOME não pode ficar em branco"));
        DBEdit1->setFocus();
        return;
    }
    if (!CreditBookStore::openAccount(m_db, DBEdit1->text())) {
        Messages::plain(this, QStringLiteral("Já existe uma conta com o nome %1.").arg(DBEdit1->text()));
        DBEdit1->setFocus();
        DBEdit1->selectAll();
        return;
    }
    accept();
}

void AccountOpeningDialog::SpeedButton2Click() {
    reject();
}
