#include "accountsheet.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/creditbook/creditbookmodel.h"
#include "core/settings/productstore.h"
#include "gui/common/rowgrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
void styleFont(QWidget* w, int pointSize, bool bold) {
    QFont f = w->font();
    if (pointSize > 0) f.setPointSize(pointSize);
    f.setBold(bold);
    w->setFont(f);
}
} // namespace

AccountSheet::AccountSheet(Database& db, CreditBookModel& account)
    : Form(QStringLiteral("f_ficha_cad"), QStringLiteral("Caderneta")), m_db(db), m_account(account),
      m_products(new RowTableModel<Product>(
          {{QStringLiteral("Produto"), [](const Product& p) { return p.name; }, Qt::AlignCenter, true},
           {QStringLiteral("Valor"), [](const Product& p) { return p.price; }, Qt::AlignCenter, true}},
          this)),
      m_items(new RowTableModel<ChargedItem>(
          {{QStringLiteral("Produto"), [](const ChargedItem& i) { return i.product; }, Qt::AlignLeft},
           {QStringLiteral("Valor"), [](const ChargedItem& i) { return i.price; }},
           {QStringLiteral("Data"), [](const ChargedItem& i) { return i.date; }}},
          this)) {
    resize(820, 520);
    auto* layout = new QVBoxLayout(this);

    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* arquivo = bar->addMenu(QStringLiteral("&Arquivo"));
    Sair1 = arquivo->addAction(QStringLiteral("&Sair"));
    Sair1->setObjectName(QStringLiteral("Sair1"));
    connect(Sair1, &QAction::triggered, this, [this] { guard([this] { SpeedButton3Click(); }); });
    QMenu* caderneta = bar->addMenu(QStringLiteral("&Caderneta"));
    FecharFicha1 = caderneta->addAction(QStringLiteral("&Fechar Conta"));
    FecharFicha1->setObjectName(QStringLiteral("FecharFicha1"));
    connect(FecharFicha1, &QAction::triggered, this, [this] { guard([this] { FecharFicha1Click(); }); });
    layout->setMenuBar(bar);

    auto* nameRow = new QHBoxLayout;
    QLabel* nome = label(QStringLiteral("Label1"), QStringLiteral("Nome"), true);
    styleFont(nome, 12, true);
    nameRow->addWidget(nome);
    DBEdit1 = lineEdit(QStringLiteral("DBEdit1"));
    DBEdit1->setEnabled(false);
    DBEdit1->setReadOnly(true);
    styleFont(DBEdit1, 12, true);
    DBEdit1->setStyleSheet(QStringLiteral("QLineEdit:disabled { color: black; }"));
    nameRow->addWidget(DBEdit1, 1);
    layout->addLayout(nameRow);

    dbe_produto = lineEdit(QStringLiteral("dbe_produto"));
    dbe_valor = lineEdit(QStringLiteral("dbe_valor"));
    l_data = label(QStringLiteral("l_data"), QString());
    l_hora = label(QStringLiteral("l_hora"), QString());
    for (QWidget* hidden : std::initializer_list<QWidget*>{dbe_produto, dbe_valor, l_data, l_hora})
        hidden->hide();

    auto* lists = new QGridLayout;
    lists->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Lista de Produtos"), true), 0, 0);
    lists->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Produtos Marcados"), true), 0, 1);
    DBGrid2 = new RowGrid(this, QStringLiteral("DBGrid2"), m_products, {220});
    DBGrid1 = new RowGrid(this, QStringLiteral("DBGrid1"), m_items, {200, 80});
    // the hidden fields carry the selected product to "Marcar"
    connect(DBGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                const QList<Product>& products = m_products->rows();
                const Product chosen = current.row() >= 0 && current.row() < products.size()
                                           ? products.at(current.row())
                                           : Product();
                dbe_produto->setText(chosen.name);
                dbe_valor->setText(chosen.price);
            });
    // Enter on a product of the list marks it, as "Marcar" does.
    connect(DBGrid2, &RowGrid::rowChosen, this, [this] { guard([this] { SpeedButton1Click(); }); });
    lists->addWidget(DBGrid2, 1, 0);
    lists->addWidget(DBGrid1, 1, 1);
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Marcar"),
                               [this] { SpeedButton1Click(); });
    styleFont(SpeedButton1, 10, true);
    SpeedButton1->setMinimumHeight(34);
    lists->addWidget(SpeedButton1, 2, 0);
    SpeedButton2 =
        speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("X"), [this] { SpeedButton2Click(); });
    styleFont(SpeedButton2, 10, true);
    SpeedButton2->setStyleSheet(QStringLiteral("color: red;"));
    SpeedButton2->setMinimumHeight(34);
    SpeedButton2->setToolTip(QStringLiteral("Excluir o produto marcado selecionado"));
    lists->addWidget(SpeedButton2, 2, 1, Qt::AlignRight);
    layout->addLayout(lists, 1);

    auto* bottom = new QHBoxLayout;
    QLabel* total = label(QStringLiteral("Label4"), QStringLiteral("TOTAL:"), true);
    styleFont(total, 18, true);
    bottom->addWidget(total);
    v_total1 = label(QStringLiteral("v_total1"), QStringLiteral("0,00"), true);
    styleFont(v_total1, 18, true);
    v_total1->setStyleSheet(QStringLiteral("color: red;"));
    bottom->addWidget(v_total1);
    bottom->addStretch();
    SpeedButton3 =
        speedButton(QStringLiteral("SpeedButton3"), QStringLiteral("Sair"), [this] { SpeedButton3Click(); });
    SpeedButton3->setMinimumHeight(34);
    bottom->addWidget(SpeedButton3);
    layout->addLayout(bottom);

    Timer1 = clockTimer([this] { Timer1Timer(); });
    connect(&m_account, &CreditBookModel::changed, this, [this] {
        DBEdit1->setText(m_account.accountName());
        v_total1->setText(m_account.total().text());
        m_items->setRows(m_account.items());
        DBGrid1->setCurrentRow(m_items->rowCount() - 1); // the last item is the one selected
    });
}

// The sheet sums when it opens and when each of its prompts returns. It does not sum on every
// activation: coming back from an error box or from another program would sum again (an error
// shown again and again, or the selected item moved to the last one).
void AccountSheet::FormShow() {
    // Filled at once, so an item charged before the timer's first tick has its date and time.
    Timer1Timer();
    DBEdit1->setText(m_account.accountName());
    // the products sold, as the sales screen lists them
    m_products->setRows(ProductStore::namedProducts(m_db));
    bt_somarClick();
}

void AccountSheet::Timer1Timer() {
    l_data->setText(Clock::dateText());
    l_hora->setText(Clock::timeText());
}

void AccountSheet::bt_somarClick() {
    m_account.sum();
}

void AccountSheet::removeSelectedItem() {
    m_account.removeItem(DBGrid1->currentRow());
}

void AccountSheet::SpeedButton1Click() {
    m_account.charge(dbe_produto->text(), dbe_valor->text(), l_data->text(), l_hora->text());
}

void AccountSheet::SpeedButton2Click() {
    emit itemRemovalRequested();
    bt_somarClick();
}

void AccountSheet::FecharFicha1Click() {
    emit accountClosingRequested(m_account.accountName(), m_account.total().text(), m_account.accountId());
    if (isVisible()) // a completed closing has closed the sheet
        bt_somarClick();
}

void AccountSheet::SpeedButton3Click() {
    reject();
}
