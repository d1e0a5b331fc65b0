#include "creditbookwindow.h"

#include "core/creditbook/creditbookstore.h"
#include "core/db/datamodule.h"
#include "gui/common/dbgrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CreditBookWindow::CreditBookWindow(DataModule& dm)
    : Form(QStringLiteral("f_caderneta"), QStringLiteral("Caderneta")), m_dm(dm) {
    resize(460, 480);
    auto* layout = new QVBoxLayout(this);

    DBGrid1 = new DBGrid(this, QStringLiteral("DBGrid1"), m_dm.q_caderneta,
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

void CreditBookWindow::reload() {
    CreditBookStore::listAccounts(m_dm);
}

void CreditBookWindow::FormShow() {
    reload();
}

void CreditBookWindow::SpeedButton1Click() {
    emit accountOpeningRequested();
}

void CreditBookWindow::SpeedButton2Click() {
    reject();
}

void CreditBookWindow::DBGrid1DblClick() {
    emit sheetRequested();
}
