// The sales screen's widgets: the product list down the left side; the current sale, its figures and
// the legend of shortcuts on the right; the hidden menu whose shortcuts work.

#include "saleswindow.h"

#include "core/base/clock.h"
#include "core/till/productkeys.h"
#include "core/till/withdrawallegend.h"
#include "gui/common/keyfilter.h"
#include "gui/common/printerstatuslabel.h"
#include "gui/common/rowgrid.h"
#include "gui/sales/productlistwidth.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFont bigBold(const QFont& base, int pointSize) {
    QFont f = base;
    f.setPointSize(pointSize);
    f.setBold(true);
    return f;
}

} // namespace

void SalesWindow::buildWindow() {
    QWidget* produtos = buildProducts();

    // Current sale, top right.
    auto* venda = new QGroupBox(QStringLiteral("  VENDA"), this);
    venda->setObjectName(QStringLiteral("GroupBox2"));
    venda->setFont(bigBold(font(), 12));
    DBGrid2 = new SaleGrid(venda, m_till);
    auto* vl = new QVBoxLayout(venda);
    vl->addWidget(DBGrid2);

    const QFont gridFont = bigBold(font(), 13);
    for (QTableView* g : {static_cast<QTableView*>(DBGrid1), static_cast<QTableView*>(DBGrid2)}) {
        g->setFocusPolicy(Qt::NoFocus);
        g->setFont(gridFont);
        // twenty rows and their heading fit a 768-pixel screen
        g->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 6);
        QFont hf = g->horizontalHeader()->font();
        hf.setPointSize(11);
        hf.setBold(true);
        g->horizontalHeader()->setFont(hf);
    }
    DBGrid1->setColumnWidth(
        0,
        QFontMetrics(DBGrid1->horizontalHeader()->font()).horizontalAdvance(QStringLiteral("Código")) + 20);
    DBGrid2->setColumnWidth(0, DBGrid1->columnWidth(0));

    // The products down the whole left side; the sale, its figures and the legend on the right.
    auto* right = new QVBoxLayout;
    right->addWidget(venda, 1);
    right->addLayout(buildFigures());
    right->addWidget(buildLegend());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(produtos);
    layout->addLayout(right, 1);

    buildMenu();
}

QWidget* SalesWindow::buildProducts() {
    auto* produtos = new QGroupBox(QStringLiteral("              PRODUTOS              "), this);
    produtos->setObjectName(QStringLiteral("GroupBox1"));
    produtos->setFont(bigBold(font(), 12));
    produtos->setAlignment(Qt::AlignHCenter);
    using Column = RowTableModel<Product>::Column;
    m_products = new RowTableModel<Product>(
        {Column{QStringLiteral("Código"), [](const Product& p) { return QString(p.key); }, Qt::AlignCenter,
                true},
         Column{QStringLiteral("Produto"), [](const Product& p) { return p.name; }, Qt::AlignCenter, true}},
        this);
    DBGrid1 = new RowGrid(produtos, QStringLiteral("DBGrid1"), m_products, {90, 0});
    DBGrid1->setSelectionMode(QAbstractItemView::NoSelection); // a list to read, not a choice
    // Every product in sight at once: no scrolling, each name in full (the list takes the width its
    // names need, see fitProductList).
    DBGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setTextElideMode(Qt::ElideNone);
    connect(m_products, &QAbstractItemModel::modelReset, this, [this] { fitProductList(DBGrid1, screen()); });
    DBGrid1->viewport()->installEventFilter(this); // its rows share out the height it gets
    auto* pl = new QVBoxLayout(produtos);
    pl->addWidget(DBGrid1);
    return produtos;
}

QLayout* SalesWindow::buildFigures() {
    const QFont amountFont = bigBold(font(), 30);
    // Red figures on white (grey while disabled), through the palette: these fields repaint on every
    // key press and a style sheet would cost several times more to paint.
    QPalette red = palette();
    red.setColor(QPalette::Text, QColor(0xd0, 0x00, 0x00));
    red.setColor(QPalette::Disabled, QPalette::Text, QColor(0xd0, 0x00, 0x00));
    red.setColor(QPalette::Base, Qt::white);
    red.setColor(QPalette::Disabled, QPalette::Base, QColor(0xf0, 0xf0, 0xf0));
    auto amount = [&](const QString& name) {
        QLineEdit* e = lineEdit(name);
        e->setFont(amountFont);
        e->setPalette(red);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setMinimumWidth(QFontMetrics(amountFont).horizontalAdvance(QStringLiteral("0000,00")) + 12);
        // A plain box drawn by a frame around it: the style's own rounded field frame costs several
        // times the figure itself to paint, on every key press.
        e->setFrame(false);
        e->setAttribute(Qt::WA_OpaquePaintEvent); // its panel fills it whole: nothing behind is painted
        return e;
    };
    v_total1 = amount(QStringLiteral("v_total1"));
    v_total1->setReadOnly(true);
    v_total1->setFocusPolicy(Qt::NoFocus);
    edt_entrada = amount(QStringLiteral("edt_entrada"));
    edt_entrada->setText(QStringLiteral("0"));
    edt_entrada->setEnabled(false);
    KeyFilter::money(edt_entrada, true);
    edt_entrada->installEventFilter(this); // after the key filter, so it sees Enter first
    edt_troco = amount(QStringLiteral("edt_troco"));
    edt_troco->setReadOnly(true);
    edt_troco->setFocusPolicy(Qt::NoFocus);

    auto* amounts = new QGridLayout;
    amounts->setVerticalSpacing(14);
    const QFont captionFont = bigBold(font(), 20);
    int row = 0;
    for (auto [name, text, edit] :
         {std::tuple{"Label1", "TOTAL:", v_total1}, std::tuple{"Label2", "ENTRADA:", edt_entrada},
          std::tuple{"Label3", "TROCO:", edt_troco}}) {
        QLabel* caption = label(QLatin1String(name), QLatin1String(text), true);
        caption->setFont(captionFont);
        caption->setStyleSheet(QStringLiteral("color: #d00000;"));
        amounts->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QFrame(this);
        box->setObjectName(edit->objectName() + QStringLiteral("_caixa"));
        box->setFrameShape(QFrame::Box);
        box->setFrameShadow(QFrame::Plain);
        QPalette framePalette = box->palette();
        framePalette.setColor(QPalette::WindowText, QColor(0xa0, 0xa0, 0xa0));
        box->setPalette(framePalette);
        auto* boxLayout = new QHBoxLayout(box);
        boxLayout->setContentsMargins(1, 1, 1, 1);
        boxLayout->addWidget(edit);
        // No wider than a large amount needs: these fields repaint on every key press.
        box->setMaximumWidth(edit->minimumWidth() * 3 / 2);
        amounts->addWidget(box, row, 1);
        ++row;
    }

    lhora = label(QStringLiteral("lhora"), Clock::timeText(), true);
    lhora->setFont(bigBold(font(), 32));
    lhora->setStyleSheet(QStringLiteral("color: silver;"));
    lhora->setAlignment(Qt::AlignCenter);
    clockTimer([this] { lhora->setText(Clock::timeText()); });

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Caderneta"),
                               [this] { SpeedButton1Click(); });
    SpeedButton1->setFont(bigBold(font(), 14));
    SpeedButton1->setMinimumSize(180, 48);

    auto* side = new QVBoxLayout;
    side->addStretch();
    side->addWidget(lhora);
    side->addSpacing(12);
    side->addWidget(SpeedButton1, 0, Qt::AlignHCenter);
    side->addWidget(new PrinterStatusLabel(this));
    l_fichas = label(QStringLiteral("l_fichas"), QString(), true);
    l_fichas->setWordWrap(true);
    l_fichas->setAlignment(Qt::AlignCenter);
    l_fichas->setStyleSheet(QStringLiteral("color: #d00000;"));
    side->addWidget(l_fichas);
    // Three lines' height whatever it says, so a new text never moves the rest of the screen (a longer
    // reason is cut at the bottom; the whole of it is the line's tool tip).
    l_festa = label(QStringLiteral("l_festa"), QString(), false);
    l_festa->setWordWrap(true);
    l_festa->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l_festa->setFixedHeight(3 * QFontMetrics(bigBold(font(), font().pointSize())).lineSpacing() + 2);
    l_festa->hide();
    side->addWidget(l_festa);
    side->addStretch();

    auto* figures = new QHBoxLayout;
    figures->addLayout(amounts, 3);
    figures->addSpacing(24);
    figures->addLayout(side, 2);
    return figures;
}

QWidget* SalesWindow::buildLegend() {
    auto* legend = new QGroupBox(this);
    legend->setObjectName(QStringLiteral("GroupBox3"));
    auto* ll = new QVBoxLayout(legend);
    ll->setSpacing(2);
    QLabel* heading = label(QStringLiteral("Label4"), QStringLiteral("Teclas de Atalho"), true);
    heading->setFont(bigBold(font(), 12));
    ll->addWidget(heading);
    const QStringList lines = {QStringLiteral("CTRL + P – Mostra janela Parcial de Caixa"),
                               WithdrawalLegend::line(m_db),
                               QStringLiteral("CTRL + F – Efetuar o fechamento de caixa")};
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* l = label(QStringLiteral("Label%1").arg(5 + i), lines[i], true);
        l->setFont(bigBold(font(), 10));
        l->setStyleSheet(QStringLiteral("color: #000080;"));
        ll->addWidget(l);
    }
    return legend;
}

void SalesWindow::buildMenu() {
    // The hidden menu: its items are never shown, their shortcuts work.
    auto item = [this](QAction*& action, const QString& name, const QString& caption, const QKeySequence& key,
                       void (SalesWindow::*handler)()) {
        action = new QAction(caption, this);
        action->setObjectName(name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { guard([&] { (this->*handler)(); }); });
    };
    item(Fechamento1, QStringLiteral("Fechamento1"), QStringLiteral("Fechamento"),
         QKeySequence(Qt::CTRL | Qt::Key_F), &SalesWindow::Fechamento1Click);
    item(Parcial1, QStringLiteral("Parcial1"), QStringLiteral("Parcial"), QKeySequence(Qt::CTRL | Qt::Key_P),
         &SalesWindow::Parcial1Click);
    item(Sangria1, QStringLiteral("Sangria1"), QStringLiteral("Sangria"), QKeySequence(Qt::CTRL | Qt::Key_S),
         &SalesWindow::Sangria1Click);
    item(Reimprimir1, QStringLiteral("Reimprimir1"), QStringLiteral("Reimprimir"),
         QKeySequence(Qt::CTRL | Qt::Key_R), &SalesWindow::Reimprimir1Click);
    item(PainelFesta1, QStringLiteral("PainelFesta1"), QStringLiteral("Painel da Festa"),
         QKeySequence(Qt::Key_F11), &SalesWindow::PainelFesta1Click);
}
