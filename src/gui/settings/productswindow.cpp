#include "productswindow.h"

#include "core/base/money.h"
#include "core/db/datamodule.h"
#include "core/settings/productstore.h"
#include "gui/common/dbedit.h"
#include "gui/common/dbgrid.h"
#include "gui/common/keyfilter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
bool editing(const Dataset* q) {
    return q->state() == Dataset::State::Edit || q->state() == Dataset::State::Insert;
}
} // namespace

ProductsWindow::ProductsWindow(DataModule& dm)
    : Form(QStringLiteral("f_config"), QStringLiteral("Configuração de Produtos")), m_dm(dm) {
    // sizeable, close box only
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(760, 560);
    setMinimumSize(640, 440);

    DBEdit1 = new DBEdit(this, QStringLiteral("DBEdit1"));
    DBEdit1->setEnabled(false);
    DBEdit1->setReadOnly(true);
    DBEdit1->setFixedWidth(60);
    DBEdit1->setAlignment(Qt::AlignCenter);
    DBEdit2 = new DBEdit(this, QStringLiteral("DBEdit2"));
    KeyFilter::upperCase(DBEdit2);
    DBEdit4 = new DBEdit(this, QStringLiteral("DBEdit4"));
    KeyFilter::upperCase(DBEdit4);
    DBEdit3 = new DBEdit(this, QStringLiteral("DBEdit3"));
    KeyFilter::digits(DBEdit3, false);
    DBEdit3->setFixedWidth(70);
    DBEdit5 = new DBEdit(this, QStringLiteral("DBEdit5"));
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

    DBGrid1 =
        new DBGrid(this, QStringLiteral("DBGrid1"), nullptr,
                   {{QStringLiteral("id"), QStringLiteral("Código"), Qt::AlignCenter, false, 70},
                    {QStringLiteral("produto"), QStringLiteral("Produto"), Qt::AlignCenter, false, 230},
                    {QStringLiteral("impresso"), QStringLiteral("Impresso"), Qt::AlignCenter, false, 160},
                    {QStringLiteral("valor"), QStringLiteral("Valor"), Qt::AlignCenter, false, 100},
                    {QStringLiteral("quantidade"), QStringLiteral("Fichas"), Qt::AlignCenter, false, 0}});
    DBGrid1->installEventFilter(this);
    DBGrid1->viewport()->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("Contagem de Caixa"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    DBEdit6 = new DBEdit(GroupBox1, QStringLiteral("DBEdit6"));
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
    bindData();
}

void ProductsWindow::bindData() {
    Dataset* q = m_dm.q_config;
    DBEdit1->bind(q, QStringLiteral("id"));
    DBEdit2->bind(q, QStringLiteral("produto"));
    DBEdit4->bind(q, QStringLiteral("impresso"));
    DBEdit3->bind(q, QStringLiteral("quantidade"));
    DBEdit5->bind(q, QStringLiteral("valor"));
    DBGrid1->bind(q);
    DBEdit6->bind(m_dm.q_cont, QStringLiteral("cont"));
    connect(q, &Dataset::currentChanged, this, &ProductsWindow::updateNavigator);
    connect(q, &Dataset::reset, this, &ProductsWindow::updateNavigator);
    updateNavigator();
}

void ProductsWindow::FormShow() {
    // every product, unnamed ones too; a change not stored is dropped
    ProductStore::listProducts(m_dm);
    ProductStore::openCounter(m_dm);
    DBGrid1->setFocus();
}

void ProductsWindow::FormClose() {
    // The close box discards like "OK": nothing half-typed stays pending for the sales screen.
    m_dm.q_config->cancel();
    m_dm.q_cont->cancel();
}

bool ProductsWindow::storeProduct() {
    Dataset* q = m_dm.q_config;
    if (!editing(q)) return true;
    if (m_festa) { // nothing of the catalogue is changed here
        q->cancel();
        return true;
    }
    if (!Money::isValid(q->asString(QStringLiteral("valor")))) {
        Messages::plain(this, QStringLiteral("O campo VALOR deve conter um valor válido"));
        DBEdit5->setFocus();
        return false;
    }
    q->post();
    return true;
}

bool ProductsWindow::storeBeforeMove() {
    bool stored = false;
    guard([&] { stored = storeProduct(); });
    return stored;
}

void ProductsWindow::DBNavigator1Click() {
    storeProduct();
}

void ProductsWindow::SpeedButton1Click() {
    ProductStore::listProducts(m_dm);
    accept();
}

void ProductsWindow::SpeedButton2Click() {
    Dataset* q = m_dm.q_cont;
    if (!editing(q)) q->edit(); // nothing typed: the shown value is stored as it is
    q->post();
    Messages::plain(this, QStringLiteral("Nº Caixa Atualizado"));
    ProductStore::openCounter(m_dm);
}

void ProductsWindow::setFestaMode(bool festa) {
    if (festa && editing(m_dm.q_config)) m_dm.q_config->cancel();
    m_festa = festa;
    for (DBEdit* field : {DBEdit2, DBEdit4, DBEdit3, DBEdit5}) { // greyed as the code is
        field->setReadOnly(festa);
        field->setEnabled(!festa);
    }
    l_festa->setVisible(festa);
    updateNavigator();
}

void ProductsWindow::updateNavigator() {
    const Dataset* q = m_dm.q_config;
    DBNavigator1->setEnabled(!m_festa && q && editing(q));
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
                if (row >= 0 && row != m_dm.q_config->recNo()) return !storeBeforeMove();
            }
        }
    }
    return Form::eventFilter(watched, event);
}
