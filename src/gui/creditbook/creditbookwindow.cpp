#include "creditbookwindow.h"

#include "core/creditbook/creditbookmodel.h"
#include "gui/common/rowgrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CreditBookWindow::CreditBookWindow(Database& db, CreditBookModel& account)
    : Form(QStringLiteral("f_caderneta"), QStringLiteral("Caderneta")), m_db(db), m_account(account),
      m_accounts(new RowTableModel<Account>(
          {{QStringLiteral("Nome"), [](const Account& a) { return a.name; }}}, this)) {
    resize(460, 480);
    auto* layout = new QVBoxLayout(this);

    DBGrid1 = new RowGrid(this, QStringLiteral("DBGrid1"), m_accounts, {});
    connect(DBGrid1, &RowGrid::rowChosen, this, [this] { guard([this] { DBGrid1DblClick(); }); });
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
    m_accounts->setRows(CreditBookStore::accounts(m_db));
}

void CreditBookWindow::FormShow() {
    reload();
}

void CreditBookWindow::SpeedButton1Click() {
    emit accountOpeningRequested();
    reload(); // the new account in its place; the current row is the first account, not the new one
}

void CreditBookWindow::SpeedButton2Click() {
    reject();
}

void CreditBookWindow::DBGrid1DblClick() {
    const int row = DBGrid1->currentRow();
    const QList<Account>& accounts = m_accounts->rows();
    // with no account at all the sheet shows no name and no items
    m_account.setAccount(row >= 0 && row < accounts.size() ? std::optional(accounts.at(row)) : std::nullopt);
    emit sheetRequested();
    reload(); // a closed account is gone from the list
}
