#include "productswindow.h"

#include "core/base/money.h"
#include "core/db/database.h"
#include "gui/common/fieldwidth.h"
#include "gui/common/keyfilter.h"
#include "gui/common/rowgrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

ProductsWindow::ProductsWindow(Database& db)
    : Form(QStringLiteral("f_config"), QStringLiteral("Configuração de Produtos")), m_db(db),
      m_products(
          new ProductTable({{QStringLiteral("Código"), [](const Product& p) { return QString(p.key); }},
                            {QStringLiteral("Produto"), [](const Product& p) { return p.name; }},
                            {QStringLiteral("Impresso"), [](const Product& p) { return p.ticketText; }},
                            {QStringLiteral("Valor"), [](const Product& p) { return p.price; }},
                            {QStringLiteral("Fichas"), [](const Product& p) { return p.tickets; }}},
                           this)) {
    // sizeable, close box only
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(760, 560);
    setMinimumSize(640, 440);

    const QString table = QStringLiteral("tbl_produtos");
    DBEdit1 = lineEdit(QStringLiteral("DBEdit1"));
    DBEdit1->setEnabled(false);
    DBEdit1->setReadOnly(true);
    DBEdit1->setFixedWidth(60);
    DBEdit1->setAlignment(Qt::AlignCenter);
    DBEdit2 = lineEdit(QStringLiteral("DBEdit2"));
    limitToColumn(DBEdit2, db, table, QStringLiteral("produto"));
    KeyFilter::upperCase(DBEdit2);
    DBEdit4 = lineEdit(QStringLiteral("DBEdit4"));
    limitToColumn(DBEdit4, db, table, QStringLiteral("impresso"));
    KeyFilter::upperCase(DBEdit4);
    DBEdit3 = lineEdit(QStringLiteral("DBEdit3"));
    KeyFilter::digits(DBEdit3, false);
    DBEdit3->setFixedWidth(70);
    DBEdit5 = lineEdit(QStringLiteral("DBEdit5"));
    limitToColumn(DBEdit5, db, table, QStringLiteral("valor"));
    KeyFilter::money(DBEdit5, false);
    DBEdit5->setFixedWidth(90);

    DBNavigator1 = new QToolButton(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setText(QStringLiteral("✔"));
    DBNavigator1->setToolTip(QStringLiteral("Gravar alterações do produto"));
    DBNavigator1->setFocusPolicy(Qt::NoFocus);
    DBNavigator1->setFixedSize(30, DBEdit2->sizeHint().height());
    DBNavigator1->setEnabled(false);
    connect(DBNavigator1, &QToolButton::clicked, this, [this] { guard([this] { DBNavigator1Click(); }); });

    auto* entries = new QGridLayout;
    entries->setHorizontalSpacing(6);
    entries->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Código"), true), 0, 0);
    entries->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Produto"), true), 0, 1);
    entries->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Impressão"), true), 0, 2);
    entries->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Fichas"), true), 0, 3);
    entries->addWidget(label(QStringLiteral("Label5"), QStringLiteral("Valor"), true), 0, 4);
    entries->addWidget(DBEdit1, 1, 0);
    entries->addWidget(DBEdit2, 1, 1);
    entries->addWidget(DBEdit4, 1, 2);
    entries->addWidget(DBEdit3, 1, 3);
    entries->addWidget(DBEdit5, 1, 4);
    entries->addWidget(DBNavigator1, 1, 5);
    entries->setColumnStretch(1, 5);
    entries->setColumnStretch(2, 3);

    DBGrid1 = new RowGrid(this, QStringLiteral("DBGrid1"), m_products, {70, 230, 160, 100, 0});
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                guard([&] { currentRowChanged(current.row(), previous.row()); });
            });
    DBGrid1->installEventFilter(this);
    DBGrid1->viewport()->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("Contagem de Caixa"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    DBEdit6 = new QLineEdit(GroupBox1);
    DBEdit6->setObjectName(QStringLiteral("DBEdit6"));
    KeyFilter::digits(DBEdit6, false);
    DBEdit6->setFixedWidth(90);
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Gravar"),
                               [this] { SpeedButton2Click(); });
    auto* counter = new QHBoxLayout(GroupBox1);
    counter->addWidget(label(QStringLiteral("Label6"), QStringLiteral("Nº Inicial do Caixa"), true));
    counter->addWidget(DBEdit6);
    counter->addWidget(SpeedButton2);

    SpeedButton1 =
        speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("OK"), [this] { SpeedButton1Click(); });
    SpeedButton1->setMinimumWidth(90);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(GroupBox1);
    bottom->addStretch();
    bottom->addWidget(SpeedButton1, 0, Qt::AlignBottom);

    l_festa = label(QStringLiteral("l_festa"),
                    QStringLiteral("Os produtos desta festa são editados no Painel da Festa, no computador "
                                   "da tesouraria."),
                    true);
    l_festa->setWordWrap(true);
    l_festa->setStyleSheet(QStringLiteral("color: #000080;"));
    l_festa->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(l_festa);
    layout->addLayout(entries);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);

    setTabOrder(DBGrid1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit4);
    setTabOrder(DBEdit4, DBEdit3);
    setTabOrder(DBEdit3, DBEdit5);
    setTabOrder(DBEdit5, DBEdit6);
    for (QLineEdit* field : {DBEdit2, DBEdit4, DBEdit3, DBEdit5})
        connect(field, &QLineEdit::textEdited, this, [this] {
            m_pending = !m_festa;
            updateNavigator();
        });
    updateNavigator();
}

void ProductsWindow::showProduct(int row) {
    const QList<Product>& products = m_products->rows();
    const Product shown = row >= 0 && row < products.size() ? products.at(row) : Product();
    DBEdit1->setText(shown.key.isNull() ? QString() : QString(shown.key));
    DBEdit2->setText(shown.name);
    DBEdit4->setText(shown.ticketText);
    DBEdit3->setText(shown.tickets);
    DBEdit5->setText(shown.price);
    m_pending = false;
    updateNavigator();
}

void ProductsWindow::currentRowChanged(int row, int previous) {
    if (m_moving) return;
    // a move the grid's own handling let through stores the product left, as any other move
    if (m_pending && previous >= 0 && !storeProduct(previous)) {
        m_moving = true;
        DBGrid1->setCurrentRow(previous);
        m_moving = false;
        return;
    }
    showProduct(row);
}

void ProductsWindow::FormShow() {
    // every product, unnamed ones too; a change not stored is dropped
    m_pending = false;
    m_products->setRows(ProductStore::products(m_db));
    showProduct(DBGrid1->currentRow());
    DBEdit6->setText(ProductStore::tillCounter(m_db));
    DBGrid1->setFocus();
}

void ProductsWindow::FormClose() {
    // The close box discards like "OK": nothing half-typed stays pending; the next showing reads the
    // products and the counter again.
    showProduct(DBGrid1->currentRow());
}

bool ProductsWindow::storeProduct(int row) {
    if (!m_pending) return true;
    if (m_festa) { // nothing of the catalogue is changed here
        showProduct(row);
        return true;
    }
    if (row < 0 || row >= m_products->rows().size()) return true;
    if (!Money::isValid(DBEdit5->text())) {
        Messages::plain(this, QStringLiteral("O campo VALOR deve conter um valor válido"));
        DBEdit5->setFocus();
        return false;
    }
    Product typed = m_products->rows().at(row);
    typed.name = DBEdit2->text();
    typed.ticketText = DBEdit4->text();
    typed.tickets = DBEdit3->text();
    typed.price = DBEdit5->text();
    ProductStore::save(m_db, typed);
    // the row as stored (a number of tickets typed as 02 is 2)
    for (const Product& stored : ProductStore::products(m_db))
        if (stored.key == typed.key) typed = stored;
    m_products->setRow(row, typed);
    m_pending = false;
    updateNavigator();
    return true;
}

bool ProductsWindow::storeBeforeMove() {
    bool stored = false;
    guard([&] { stored = storeProduct(DBGrid1->currentRow()); });
    return stored;
}

void ProductsWindow::DBNavigator1Click() {
    storeProduct(DBGrid1->currentRow());
}

void ProductsWindow::SpeedButton1Click() {
    showProduct(DBGrid1->currentRow()); // a change not stored is dropped
    accept();
}

void ProductsWindow::SpeedButton2Click() {
    // nothing typed: the shown value is stored as it is
    ProductStore::saveTillCounter(m_db, DBEdit6->text());
    Messages::plain(this, QStringLiteral("Nº Caixa Atualizado"));
    DBEdit6->setText(ProductStore::tillCounter(m_db));
}

void ProductsWindow::setFestaMode(bool festa) {
    if (festa && m_pending) showProduct(DBGrid1->currentRow());
    m_festa = festa;
    for (QLineEdit* field : {DBEdit2, DBEdit4, DBEdit3, DBEdit5}) { // greyed as the code is
        field->setReadOnly(festa);
        field->setEnabled(!festa);
    }
    l_festa->setVisible(festa);
    updateNavigator();
}

void ProductsWindow::updateNavigator() {
    DBNavigator1->setEnabled(!m_festa && m_pending);
}

bool ProductsWindow::eventFilter(QObject* watched, QEvent* event) {
    // A move to another product stores the current one first; a refused store keeps the grid where it is.
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        switch (k->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return !storeBeforeMove();
        default:
            // typing a key's id jumps to that product
            if (!k->text().isEmpty() && k->text().at(0).isPrint()) return !storeBeforeMove();
            break;
        }
    } else if (watched == DBGrid1->viewport()) {
        const auto type = event->type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        if (press || type == QEvent::MouseMove) {
            auto* m = static_cast<QMouseEvent*>(event);
            if (press || m->buttons() != Qt::NoButton) {
                const int row = DBGrid1->indexAt(m->position().toPoint()).row();
                if (row >= 0 && row != DBGrid1->currentRow()) return !storeBeforeMove();
            }
        }
    }
    return Form::eventFilter(watched, event);
}
