#include "u_abrir_ficha.h"

#include "creditbook/u_caderneta.h"
#include "foundation/dbwidgets.h"
#include "foundation/keyfilter.h"
#include "foundation/u_dm.h"
#include "shell/forms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

Tf_abrir_ficha::Tf_abrir_ficha(Forms& forms)
    : Form(forms, QStringLiteral("f_abrir_ficha"), QStringLiteral("Abertura de Caderneta")) {
    setNoSystemMenu();
    resize(440, 110);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label(QStringLiteral("Nome"), QStringLiteral("Nome"), true), 0, 0);
    DBEdit1 = new DBEdit(this, QStringLiteral("DBEdit1"), forms.dm->q_caderneta, QStringLiteral("nome"));
    KeyFilter::upperCase(DBEdit1);
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

void Tf_abrir_ficha::FormShow() {
    DBEdit1->setFocus();
}

void Tf_abrir_ficha::SpeedButton1Click() {
    if (DBEdit1->text().isEmpty()) {
        Messages::plain(this, QStringLiteral("O campo NOME não pode ficar em branco"));
        DBEdit1->setFocus();
        return;
    }
    forms.dm->q_caderneta->post(); // a repeated name is refused by the table's unique index
    accept();
}

void Tf_abrir_ficha::SpeedButton2Click() {
    forms.dm->q_caderneta->cancel();
    reject();
}

void Tf_abrir_ficha::FormClose() {
    forms.f_caderneta->reload();
}
