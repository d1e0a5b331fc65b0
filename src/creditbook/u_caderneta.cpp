#include "u_caderneta.h"

#include "creditbook/creditbookstore.h"
#include "creditbook/u_abrir_ficha.h"
#include "creditbook/u_ficha_cad.h"
#include "foundation/dbwidgets.h"
#include "foundation/u_dm.h"
#include "shell/forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tf_caderneta::Tf_caderneta(Forms& forms)
    : Form(forms, QStringLiteral("f_caderneta"), QStringLiteral("Caderneta")) {
    resize(460, 480);
    auto* layout = new QVBoxLayout(this);

    DBGrid1 = new DBGrid(this, QStringLiteral("DBGrid1"), forms.dm->q_caderneta,
                         {GridColumn{QStringLiteral("nome"), QStringLiteral("Nome"), Qt::AlignCenter}});
    connect(DBGrid1, &DBGrid::rowChosen, this, [this] { guard([this] { DBGrid1DblClick(); }); });
    layout->addWidget(DBGrid1, 1);

    for (auto [name, text] :
         {std::pair{"Label1", "* ATENÇÃO: O sistema não permiti cadastrar nomes repetidos na Caderneta."},
          std::pair{"Label2", "Dê 2 cliques no nome da lista para abrir a ficha."}}) {
        QLabel* l = label(QLatin1String(name), QString::fromUtf8(text), true);
        l->setStyleSheet(QStringLiteral("color: maroon;"));
        l->setWordWrap(true);
        layout->addWidget(l);
    }

    auto* buttons = new QHBoxLayout;
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Abrir Ficha"),
                               [this] { SpeedButton1Click(); });
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton2Click(); });
    for (QPushButton* b : {SpeedButton1, SpeedButton2}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setMinimumHeight(34);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

void Tf_caderneta::reload() {
    CreditBookStore::listAccounts(*forms.dm);
}

void Tf_caderneta::FormShow() {
    reload();
}

void Tf_caderneta::SpeedButton1Click() {
    forms.f_abrir_ficha->showModal();
}

void Tf_caderneta::SpeedButton2Click() {
    reject();
}

void Tf_caderneta::DBGrid1DblClick() {
    forms.newSheet()->showModal();
}
