#include "saleswindow.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/datamodule.h"
#include "core/festa/festadesk.h"
#include "core/reports/closingreport.h"
#include "core/reports/ticketreport.h"
#include "core/settings/productstore.h"
#include "core/till/productkeys.h"
#include "core/till/ticketjobs.h"
#include "core/till/tillmodel.h"
#include "core/till/withdrawallegend.h"
#include "gui/common/dbgrid.h"
#include "gui/common/keyfilter.h"
#include "gui/common/printerstatuslabel.h"
#include "gui/sales/productlistwidth.h"
#include "gui/sales/salegrid.h"
#include "gui/sales/ticketprinting.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

QFont bigBold(const QFont& base, int pointSize) {
    QFont f = base;
    f.setPointSize(pointSize);
    f.setBold(true);
    return f;
}

} // namespace

SalesWindow::SalesWindow(DataModule& dm, TillModel& till, TicketReport& ticket, ClosingReport& closing)
    : Form(QStringLiteral("f_caixa"), QStringLiteral("CAIXA - TERMINAL DE VENDAS  |  Quorvanta 3.0")),
      m_dm(dm), m_till(till), m_ticket(ticket), m_closingReport(closing) {
    setNoSystemMenu();
    setWindowState(Qt::WindowMaximized);
    // The window itself takes the keys; no child may hold the focus while the entry is disabled,
    // and a click anywhere never takes the keyboard away from an open cash entry.
    setFocusPolicy(Qt::NoFocus);
    tickets = new TicketJobs(dm.database(), till.recorders(), this);
    buildWindow();
    connect(tickets, &TicketJobs::failedChanged, this, &SalesWindow::showFailedTickets);
    showFailedTickets();
}

void SalesWindow::buildWindow() {

    const QFont gridFont = bigBold(font(), 13);

    // Products, left.
    auto* produtos = new QGroupBox(QStringLiteral("              PRODUTOS              "), this);
    produtos->setObjectName(QStringLiteral("GroupBox1"));
    produtos->setFont(bigBold(font(), 12));
    produtos->setAlignment(Qt::AlignHCenter);
    DBGrid1 = new DBGrid(produtos, QStringLiteral("DBGrid1"), m_dm.q_config,
                         {{QStringLiteral("id"), QStringLiteral("Código"), Qt::AlignCenter, true, 90},
                          {QStringLiteral("produto"), QStringLiteral("Produto"), Qt::AlignCenter, true, 0}});
    DBGrid1->setSelectionMode(QAbstractItemView::NoSelection); // a list to read, not a choice
    // Every product in sight at once: no scrolling, each name in full (the list takes the width its
    // names need, see fitProductList).
    DBGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setTextElideMode(Qt::ElideNone);
    connect(DBGrid1->model(), &QAbstractItemModel::modelReset, this,
            [this] { fitProductList(DBGrid1, screen()); });
    DBGrid1->viewport()->installEventFilter(this); // its rows share out the height it gets
    auto* pl = new QVBoxLayout(produtos);
    pl->addWidget(DBGrid1);

    // Current sale, top right.
    auto* venda = new QGroupBox(QStringLiteral("  VENDA"), this);
    venda->setObjectName(QStringLiteral("GroupBox2"));
    venda->setFont(bigBold(font(), 12));
    DBGrid2 = new SaleGrid(venda, m_till);
    auto* vl = new QVBoxLayout(venda);
    vl->addWidget(DBGrid2);

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

    // Amounts, right.
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

    // Legend.
    auto* legend = new QGroupBox(this);
    legend->setObjectName(QStringLiteral("GroupBox3"));
    auto* ll = new QVBoxLayout(legend);
    ll->setSpacing(2);
    QLabel* heading = label(QStringLiteral("Label4"), QStringLiteral("Teclas de Atalho"), true);
    heading->setFont(bigBold(font(), 12));
    ll->addWidget(heading);
    const QStringList lines = {QStringLiteral("CTRL + P – Mostra janela Parcial de Caixa"),
                               WithdrawalLegend::line(m_dm.database()),
                               QStringLiteral("CTRL + F – Efetuar o fechamento de caixa")};
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* l = label(QStringLiteral("Label%1").arg(5 + i), lines[i], true);
        l->setFont(bigBold(font(), 10));
        l->setStyleSheet(QStringLiteral("color: #000080;"));
        ll->addWidget(l);
    }

    // The products down the whole left side; the sale, its figures and the legend on the right.
    auto* right = new QVBoxLayout;
    right->addWidget(venda, 1);
    right->addLayout(figures);
    right->addWidget(legend);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(produtos);
    layout->addLayout(right, 1);

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

// ---- keyboard ----

void SalesWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return;
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guard([this] { btdelClick(); });
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1) return;
    if (text == QLatin1String("*")) {
        guard([this] { openEntry(); });
        return;
    }
    if (ProductKeys::all().contains(text[0])) guard([this, k = text[0]] { productKey(k); });
}

bool SalesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Resize) {
        const int least = DBGrid1->fontMetrics().height() + 6;
        DBGrid1->verticalHeader()->setDefaultSectionSize(
            std::clamp(DBGrid1->viewport()->height() / ProductKeys::count, least, 2 * least));
    }
    if (watched == edt_entrada && event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            guard([this] { edt_entradaConfirm(); });
            return true; // never reaches the window, which would clear the sale
        }
    }
    return Form::eventFilter(watched, event);
}

void SalesWindow::openEntry() {
    edt_entrada->setEnabled(true);
    edt_entrada->setFocus(Qt::OtherFocusReason);
    edt_entrada->selectAll();
}

void SalesWindow::keepKeyboard() {
    // back from a window shown over it: take the keyboard again, even where no window manager does
    if (isVisible() && !isActiveWindow()) activateWindow();
    if (!edt_entrada->isEnabled()) setFocus(Qt::OtherFocusReason);
}

// ---- the sale ----

void SalesWindow::productKey(QChar key) {
    m_till.addLine(key);
    DBGrid2->scrollToBottom();
    btsomarClick();
}

void SalesWindow::setTotal(const QString& text) {
    v_total1->setText(text);
    edt_entrada->setText(text);
}

void SalesWindow::btsomarClick() {
    // The total is kept line by line; a line whose price is no amount stops it there.
    const TillModel& till = m_till;
    if (!till.saleTotal().isEmpty()) setTotal(till.saleTotal());
    if (const auto error = till.saleError()) throw ConversionError(*error);
}

void SalesWindow::btdelClick() {
    m_till.clearSale();
    v_total1->clear();
    edt_troco->clear();
    edt_entrada->setText(QStringLiteral("0"));
}

void SalesWindow::edt_entradaConfirm() {
    if (!m_till.saleIsEmpty() && !m_till.saleBooked() && !m_till.coversSale(edt_entrada->text())) {
        // Nothing is printed or booked: the cashier types the amount again in the same entry.
        Messages::plain(this, QStringLiteral("Valor recebido menor que o total da venda"));
        edt_entrada->setEnabled(true);
        edt_entrada->setFocus(Qt::OtherFocusReason);
        edt_entrada->selectAll();
        return;
    }
    edt_entrada->setEnabled(false);
    keepKeyboard();
    if (m_till.saleIsEmpty() || m_till.saleBooked()) {
        // A sale with no lines totals 0,00: the entry closes and nothing is printed, booked or added.
        if (Money::isValid(edt_entrada->text())) edt_troco->setText(Cents::parse(edt_entrada->text()).text());
        return;
    }
    // Tickets already handed to the printer for this sale (before a failure or a crash) are not
    // printed again; each one is recorded as it goes, with its print job. One batch: the printer is
    // checked once, before the first ticket.
    Cents change;
    const bool printed = TicketPrinting::settlingDoubt(this, m_till, m_ticket, [&] {
        PrintSession session;
        change = m_till.completeSale(edt_entrada->text(), TicketPrinting::sale(m_ticket, *tickets));
    });
    if (!printed) return; // the next confirmation (or Ctrl+R) prints exactly the tickets missing
    edt_troco->setText(change.text());
    emit changeRequested(edt_troco->text());
    // the change window has ended the sale: the screen starts the next one
    v_total1->clear();
    edt_troco->clear();
    edt_entrada->setText(QStringLiteral("0"));
    keepKeyboard();
}

// ---- commands ----

void SalesWindow::Fechamento1Click() {
    const TillModel& till = m_till;
    m_closingReport.setCaption(QStringLiteral("qr_aberto"), till.till().responsible);
    m_closingReport.setCaption(QStringLiteral("qr_operador"), till.till().operatorName);
    m_closingReport.setCaption(QStringLiteral("qr_entrada"), till.till().floatText);
    emit closingRequested(till.numberText());
    keepKeyboard();
}

void SalesWindow::Parcial1Click() {
    emit partialViewRequested();
    keepKeyboard();
}

void SalesWindow::Sangria1Click() {
    emit withdrawalRequested();
    keepKeyboard();
}

void SalesWindow::PainelFesta1Click() {
    emit festaPanelRequested();
    keepKeyboard();
}

void SalesWindow::Reimprimir1Click() {
    // A sale the printer stopped: its missing tickets, and the sale booked, as its confirmation does.
    const bool stopped = m_till.ticketsStopped();
    if (stopped) edt_entradaConfirm();
    if (tickets->failedCount() > 0)
        TicketPrinting::settlingDoubt(this, m_till, m_ticket,
                                      [this] { tickets->reprintFailed(TicketPrinting::again(m_ticket)); });
    else if (!stopped)
        Messages::plain(this, QStringLiteral("Não há fichas a reimprimir."));
}

void SalesWindow::showFailedTickets() {
    const QString failed = tickets->failedText();
    l_fichas->setText(failed.isEmpty() ? QString()
                                       : QStringLiteral("Não impressas: %1. Ctrl+R reimprime.").arg(failed));
    l_fichas->setVisible(!failed.isEmpty());
}

void SalesWindow::setFesta(FestaDesk* desk) {
    if (m_festa) disconnect(m_festa, nullptr, this, nullptr);
    m_festa = desk;
    m_festaSince = Clock::now();
    m_festaCatalogue = 0;
    if (desk) {
        connect(desk, &QObject::destroyed, this, &SalesWindow::showFesta); // gone: no line
        connect(desk, &FestaDesk::stateChanged, this, &SalesWindow::showFesta);
        connect(desk, &FestaDesk::catalogueApplied, this, [this](int version) {
            m_festaCatalogue = version;
            showFesta();
        });
    }
    showFesta();
}

void SalesWindow::showFesta() {
    // Called on the desk's every report (a few a second while it sends); only a change is painted.
    l_festa->setVisible(!m_festa.isNull());
    if (!m_festa) return;
    const FestaUploadState s = m_festa->state(); // read once: the line and its colour agree
    const QDateTime now = Clock::now();
    QString text = festaStatusLine(s, now); // the desk's statusLine()
    if (const int catalogue = std::max(s.catalogue, m_festaCatalogue); catalogue > 0)
        text += QStringLiteral(" · catálogo v%1").arg(catalogue);
    if (text != l_festa->text()) {
        l_festa->setText(text);
        l_festa->setToolTip(text);
    }
    const QDateTime heard = s.lastContact.isValid() ? s.lastContact : m_festaSince;
    const bool alarm = !s.stopped.isEmpty() || (!s.connected && heard.secsTo(now) > 60);
    if (alarm == m_festaAlarm) return;
    m_festaAlarm = alarm;
    QFont f = font();
    f.setBold(alarm);
    l_festa->setFont(f);
    QPalette p = palette();
    if (alarm) p.setColor(QPalette::WindowText, QColor(0xd0, 0x00, 0x00));
    l_festa->setPalette(p);
}

void SalesWindow::SpeedButton1Click() {
    emit creditBookRequested();
    keepKeyboard();
}

// ---- the window ----

void SalesWindow::FormShow() {
    // A new till starts with the keys on the window, whatever the last one left.
    edt_entrada->setEnabled(false);
    keepKeyboard();
    lhora->setText(Clock::timeText());
    readProducts();
    // a sale brought back after a restart shows with its total
    v_total1->clear();
    edt_troco->clear();
    edt_entrada->setText(QStringLiteral("0"));
    if (!m_till.saleIsEmpty()) guard([this] { btsomarClick(); });
    findChild<QLabel*>(QStringLiteral("Label6"))->setText(WithdrawalLegend::line(m_dm.database()));
}

void SalesWindow::readProducts() {
    m_till.loadNames();
    ProductStore::listNamedProducts(m_dm);
}

void SalesWindow::FormActivate() {
    if (!edt_entrada->isEnabled()) setFocus(Qt::ActiveWindowFocusReason);
}

void SalesWindow::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (QScreen* s = screen()) setGeometry(s->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    Form::setVisible(visible);
    if (visible && windowHandle())
        connect(windowHandle(), &QWindow::windowStateChanged, this, &SalesWindow::stayOnScreen,
                Qt::UniqueConnection);
}

void SalesWindow::closeTill() {
    m_closing = true;
    accept();
    m_closing = false;
}

void SalesWindow::done(int result) {
    // Closing the window manager's way, Alt+F4 or Esc is refused: only the till closing closes it.
    if (!m_closing) return;
    Form::done(result);
}

void SalesWindow::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        event->ignore();
        return;
    }
    Form::closeEvent(event);
}

void SalesWindow::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) stayOnScreen();
}

void SalesWindow::stayOnScreen() {
    // Stays maximized: a restore or minimize from outside is undone, and the cashier gets the window
    // and its keys back (window managers draw a minimize button even where none is asked for). The
    // window system's own state is checked too, as a minimize may reach only the native window.
    const auto away = [this] {
        const Qt::WindowStates native = windowHandle() ? windowHandle()->windowStates() : windowState();
        return isVisible() && ((windowState() | native) & Qt::WindowMinimized ||
                               !(windowState() & native & Qt::WindowMaximized));
    };
    if (!away()) return;
    QTimer::singleShot(0, this, [this, away] {
        if (!away()) return;
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        if (windowHandle()) windowHandle()->setWindowStates(Qt::WindowMaximized);
        raise();
        keepKeyboard();
    });
}
