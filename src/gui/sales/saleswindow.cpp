#include "saleswindow.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/festa/festadesk.h"
#include "core/reports/closingreport.h"
#include "core/reports/ticketreport.h"
#include "core/settings/productstore.h"
#include "core/till/productkeys.h"
#include "core/till/ticketjobs.h"
#include "core/till/tillmodel.h"
#include "core/till/withdrawallegend.h"
#include "gui/common/rowgrid.h"
#include "gui/sales/salegrid.h"
#include "gui/sales/ticketprinting.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

SalesWindow::SalesWindow(Database& db, TillModel& till, TicketReport& ticket, ClosingReport& closing)
    : Form(QStringLiteral("f_caixa"), QStringLiteral("CAIXA - TERMINAL DE VENDAS  |  Quorvanta 3.0")),
      m_db(db), m_till(till), m_ticket(ticket), m_closingReport(closing) {
    setNoSystemMenu();
    setWindowState(Qt::WindowMaximized);
    // The window itself takes the keys; no child may hold the focus while the entry is disabled,
    // and a click anywhere never takes the keyboard away from an open cash entry.
    setFocusPolicy(Qt::NoFocus);
    tickets = new TicketJobs(db, till.recorders(), this);
    buildWindow();
    connect(tickets, &TicketJobs::failedChanged, this, &SalesWindow::showFailedTickets);
    showFailedTickets();
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
            m_products->setRows(ProductStore::namedProducts(m_db)); // the festa's names, as sold now
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
    findChild<QLabel*>(QStringLiteral("Label6"))->setText(WithdrawalLegend::line(m_db));
}

void SalesWindow::readProducts() {
    m_till.loadNames();
    m_products->setRows(ProductStore::namedProducts(m_db));
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
