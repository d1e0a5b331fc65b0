#include "historywindow.h"

#include "core/base/clock.h"
#include "core/db/database.h"
#include "core/history/historycsv.h"
#include "core/print/printjournal.h"
#include "core/print/report.h"
#include "core/reports/historyreport.h"
#include "core/settings/festastore.h"
#include "gui/history/historycharts.h"

#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using HistoryStore::moneyText;

namespace {

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& headings) {
    auto* t = new QTableWidget(0, int(headings.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headings);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(false);
    t->setTabKeyNavigation(false); // Tab leaves the table, arrows move inside it
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells, const QList<int>& rightAligned,
            const QColor& lastColour = QColor()) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (rightAligned.contains(c)) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (c == cells.size() - 1 && lastColour.isValid()) item->setForeground(lastColour);
        t->setItem(row, c, item);
    }
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QChartView* chartIn(QBoxLayout* layout, const QString& name, int minimumHeight) {
    auto* view = new QChartView(new QChart);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(380, minimumHeight);
    view->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(view, 1);
    return view;
}

} // namespace

std::function<QString(QWidget*, const QString&)> HistoryWindow::chooseFile = [](QWidget* parent,
                                                                                const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Exportar"), suggested,
                                        QStringLiteral("Planilha CSV (*.csv)"), nullptr,
                                        QFileDialog::DontUseNativeDialog);
};

HistoryWindow::HistoryWindow(Database& db)
    : Form(QStringLiteral("f_historico"), QStringLiteral("Histórico de Caixas")), m_db(db) {
    setClosesOnEscape(); // it only shows what was sold
    QFont big = font();
    big.setPointSize(12);
    setFont(big);
    resize(designSize);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    dt_de = new QDateEdit(this);
    dt_de->setObjectName(QStringLiteral("dt_de"));
    dt_ate = new QDateEdit(this);
    dt_ate->setObjectName(QStringLiteral("dt_ate"));
    for (QDateEdit* d : {dt_de, dt_ate}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    bt_periodo = button(this, QStringLiteral("bt_periodo"), QStringLiteral("&Selecionar período"));
    connect(bt_periodo, &QPushButton::clicked, this, [this] { guard([this] { bt_periodoClick(); }); });

    tbl_caixas = table(this, QStringLiteral("tbl_caixas"),
                       {QStringLiteral("Caixa"), QStringLiteral("Data"), QStringLiteral("Responsável"),
                        QStringLiteral("Vendas"), QStringLiteral("Sangria"), QStringLiteral("Esperado"),
                        QStringLiteral("Contado"), QStringLiteral("Diferença")});
    tbl_caixas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tbl_caixas->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    connect(tbl_caixas, &QTableWidget::itemSelectionChanged, this,
            [this] { guard([this] { selectionChanged(); }); });

    tbl_resumo = table(this, QStringLiteral("tbl_resumo"),
                       {QStringLiteral("Cód."), QStringLiteral("Produto"), QStringLiteral("Preço"),
                        QStringLiteral("Vendidos"), QStringLiteral("Fichas"), QStringLiteral("Valor")});
    // a product printing two tickets per unit sells 1 and prints 2: both counts, each named
    tbl_resumo->horizontalHeaderItem(3)->setToolTip(QStringLiteral("Unidades vendidas"));
    tbl_resumo->horizontalHeaderItem(4)->setToolTip(QStringLiteral("Fichas impressas pelas vendas"));
    tbl_resumo->setSelectionMode(QAbstractItemView::SingleSelection);
    tbl_resumo->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // a name longer than its column goes on to a second line rather than lose its end
    tbl_resumo->setWordWrap(true);
    tbl_resumo->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    l_totais = new QLabel(this);
    l_totais->setObjectName(QStringLiteral("l_totais"));
    l_totais->setWordWrap(true);
    l_totais->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);

    bt_csv_resumo = button(this, QStringLiteral("bt_csv_resumo"), QStringLiteral("Exportar &resumo (CSV)"));
    bt_csv_lista = button(this, QStringLiteral("bt_csv_lista"), QStringLiteral("Exportar &lista (CSV)"));
    bt_imprimir = button(this, QStringLiteral("bt_imprimir"), QStringLiteral("&Imprimir resumo"));
    bt_fechar = button(this, QStringLiteral("bt_fechar"), QStringLiteral("&Fechar"));
    connect(bt_csv_resumo, &QPushButton::clicked, this, [this] { guard([this] { bt_csv_resumoClick(); }); });
    connect(bt_csv_lista, &QPushButton::clicked, this, [this] { guard([this] { bt_csv_listaClick(); }); });
    connect(bt_imprimir, &QPushButton::clicked, this, [this] { guard([this] { bt_imprimirClick(); }); });
    connect(bt_fechar, &QPushButton::clicked, this, &QDialog::accept);

    auto* period = new QHBoxLayout;
    QLabel* hint =
        label(QStringLiteral("Label1"),
              QStringLiteral("Caixas fechados (Ctrl+clique ou Shift+setas para escolher vários)"), true);
    hint->setWordWrap(true); // two lines on a small screen
    period->addWidget(hint, 1);
    period->addWidget(label(QStringLiteral("Label2"), QStringLiteral("De:")));
    period->addWidget(dt_de);
    period->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Até:")));
    period->addWidget(dt_ate);
    period->addWidget(bt_periodo);

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(
        label(QStringLiteral("Label4"), QStringLiteral("Resumo dos caixas escolhidos"), true));
    leftLayout->addWidget(tbl_resumo, 1);
    // The charts scroll when the products chart needs more height than the window has.
    auto* charts = new QWidget;
    auto* chartsLayout = new QVBoxLayout(charts);
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    cv_produtos = chartIn(chartsLayout, QStringLiteral("cv_produtos"), 200);
    chart_produtos = cv_produtos->chart();
    // room for the amounts' axis between the title and the hours with their legend
    chart_horas = chartIn(chartsLayout, QStringLiteral("cv_horas"), 280)->chart();
    auto* right = new QScrollArea(this);
    right->setObjectName(QStringLiteral("sa_graficos"));
    right->setWidgetResizable(true);
    right->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    right->setFrameShape(QFrame::NoFrame);
    right->setFocusPolicy(Qt::NoFocus);
    right->setWidget(charts);
    right->setMinimumWidth(charts->minimumSizeHint().width() +
                           right->verticalScrollBar()->sizeHint().width());

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(left);
    lower->addWidget(right);
    lower->setSizes({560, 620});
    tbl_caixas->setMinimumHeight(110);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(tbl_caixas);
    split->addWidget(lower);
    split->setSizes({170, 630}); // a festa closes a handful of tills

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bt_csv_resumo, bt_csv_lista, bt_imprimir})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(bt_fechar);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(split, 1);
    layout->addWidget(l_totais);
    layout->addLayout(buttons);
    const QList<QWidget*> order = {tbl_caixas,    dt_de,        dt_ate,      bt_periodo, tbl_resumo,
                                   bt_csv_resumo, bt_csv_lista, bt_imprimir, bt_fechar};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void HistoryWindow::setVisible(bool visible) {
    if (visible && !isVisible()) fitToScreen();
    Form::setVisible(visible);
}

void HistoryWindow::fitToScreen() {
    // Frame margins are known once the window has been on the screen; before that, a title bar's guess.
    const QRect area = screen()->availableGeometry();
    const QMargins frame =
        m_frame.isNull() ? QMargins(8, 40, 8, 8) : m_frame; // left, top (title bar), right, bottom
    const QSize room = area.size().shrunkBy(frame);
    if (designSize.width() <= room.width() && designSize.height() <= room.height()) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        QRect r(QPoint(), designSize);
        r.moveCenter(area.marginsRemoved(frame).center());
        setGeometry(r);
        return;
    }
    // A smaller screen: the whole of its free area, and inside it whatever the window manager does.
    setGeometry(area.marginsRemoved(frame));
    setWindowState(windowState() | Qt::WindowMaximized);
}

void HistoryWindow::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    QTimer::singleShot(0, this, &HistoryWindow::measureFrame);
}

void HistoryWindow::measureFrame() {
    const QRect outer = frameGeometry(), inner = geometry();
    if (outer != inner)
        m_frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void HistoryWindow::FormShow() {
    reload();
    tbl_caixas->setFocus();
}

void HistoryWindow::reload() {
    m_tills = HistoryStore::closedTills(m_db);
    const QSignalBlocker block(tbl_caixas);
    tbl_caixas->clearContents();
    tbl_caixas->setRowCount(int(m_tills.size()));
    for (int r = 0; r < m_tills.size(); ++r) {
        const HistoryStore::ClosedTill& t = m_tills[r];
        const auto diff = t.differenceCents();
        setRow(tbl_caixas, r,
               {QString::number(t.number), HistorySummary::dayOf(t).toString(QStringLiteral("dd/MM/yyyy")),
                t.responsible, moneyText(t.salesCents), moneyText(t.withdrawnCents),
                moneyText(t.expectedCents), t.countedCents ? moneyText(*t.countedCents) : QStringLiteral("—"),
                diff ? moneyText(*diff) : QStringLiteral("—")},
               {3, 4, 5, 6, 7}, diff && *diff < 0 ? QColor(0xb0, 0, 0) : QColor());
    }
    tbl_caixas->resizeColumnsToContents();
    const QDate today = Clock::now().date();
    dt_de->setDate(m_tills.isEmpty() ? today : HistorySummary::dayOf(m_tills.last()));
    dt_ate->setDate(m_tills.isEmpty() ? today : HistorySummary::dayOf(m_tills.first()));
    if (!m_tills.isEmpty()) tbl_caixas->selectRow(0); // the last till closed
    selectionChanged();
}

void HistoryWindow::selectionChanged() {
    QList<HistoryStore::ClosedTill> chosen;
    for (int r = 0; r < m_tills.size(); ++r)
        if (tbl_caixas->selectionModel()->isRowSelected(r, {})) chosen << m_tills[r];
    m_summary = HistorySummary::build(m_db, chosen);
    showSummary();
}

void HistoryWindow::bt_periodoClick() {
    const QDate from = std::min(dt_de->date(), dt_ate->date());
    const QDate to = std::max(dt_de->date(), dt_ate->date());
    const QSignalBlocker block(tbl_caixas);
    tbl_caixas->clearSelection();
    for (int r = 0; r < m_tills.size(); ++r) {
        const QDate d = HistorySummary::dayOf(m_tills[r]);
        if (d >= from && d <= to)
            tbl_caixas->selectionModel()->select(tbl_caixas->model()->index(r, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    selectionChanged();
    if (m_summary.tills.isEmpty())
        l_totais->setText(
            QStringLiteral("<b>Nenhum caixa fechado no período</b> de %1 a %2.")
                .arg(from.toString(QStringLiteral("dd/MM/yyyy")), to.toString(QStringLiteral("dd/MM/yyyy"))));
}

void HistoryWindow::showSummary() {
    const HistorySummary::Summary& s = m_summary;
    tbl_resumo->clearContents();
    tbl_resumo->setRowCount(int(s.products.size()));
    for (int r = 0; r < s.products.size(); ++r) {
        const HistoryStore::ProductSold& p = s.products[r];
        setRow(tbl_resumo, r,
               {p.key, p.name, HistorySummary::priceText(p.price), QString::number(p.units),
                QString::number(p.tickets), moneyText(p.cents)},
               {2, 3, 4, 5});
    }
    tbl_resumo->resizeColumnsToContents();
    HistoryCharts::showProducts(chart_produtos, s);
    HistoryCharts::showHours(chart_horas, s);
    cv_produtos->setMinimumHeight(std::max(200, HistoryCharts::productsHeight(chart_produtos)));
    if (s.tills.isEmpty()) {
        l_totais->setText(m_tills.isEmpty() ? QStringLiteral("Nenhum caixa fechado.")
                                            : QStringLiteral("Nenhum caixa escolhido."));
        return;
    }
    QString totals =
        QStringLiteral("<b>%1 caixa(s)</b> — Vendidos: <b>%2</b> unidade(s), %3 ficha(s) — "
                       "Vendas: <b>R$ %4</b><br>Sangria: R$ %5 — Esperado em caixa: R$ %6")
            .arg(s.tills.size())
            .arg(s.units)
            .arg(s.tickets)
            .arg(moneyText(s.salesCents), moneyText(s.withdrawnCents), moneyText(s.expectedCents));
    if (s.counted > 0) {
        const QString colour = s.differenceCents < 0 ? QStringLiteral("#b00000") : QStringLiteral("#006000");
        totals += QStringLiteral(
                      "<br>Contado (%1 caixa(s)): R$ %2 — Diferença: <b><font color=\"%3\">R$ %4</font></b>")
                      .arg(s.counted)
                      .arg(moneyText(s.countedCents), colour, moneyText(s.differenceCents));
    }
    l_totais->setText(totals);
}

void HistoryWindow::exportCsv(const QString& name, const QByteArray& bytes) {
    const QString suggested =
        QDir(HistoryCsv::defaultFolder())
            .filePath(QStringLiteral("%1-%2.csv")
                          .arg(name, Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    QString path = chooseFile(this, suggested);
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
    HistoryCsv::write(path, bytes);
    Messages::plain(this, QStringLiteral("Arquivo gravado: %1").arg(QDir::toNativeSeparators(path)));
}

void HistoryWindow::bt_csv_resumoClick() {
    exportCsv(QStringLiteral("resumo-caixas"), HistoryCsv::summary(m_summary));
}

void HistoryWindow::bt_csv_listaClick() {
    exportCsv(QStringLiteral("lista-caixas"), HistoryCsv::tillList(m_tills));
}

void HistoryWindow::bt_imprimirClick() {
    if (m_summary.tills.isEmpty()) {
        Messages::plain(this, QStringLiteral("Escolha ao menos um caixa para imprimir o resumo."));
        return;
    }
    const auto report = HistoryReport::build(m_summary, FestaStore::header(m_db), Clock::now());
    PrintJournal(m_db).printAlone(PrintJournal::Kind::History, QStringLiteral("O resumo do histórico"),
                                  *report);
}
