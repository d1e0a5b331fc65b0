#include "tillmodel.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/history/historystore.h"
#include "core/till/productkeys.h"

#include <limits>

namespace {

// The figures before any till was opened.
TillStore::TillRow noTill() {
    TillStore::TillRow t;
    t.floatText = QStringLiteral("0,00");
    t.cash = QStringLiteral("0,00");
    t.withdrawn = QStringLiteral("0,00");
    return t;
}

} // namespace

TillModel::TillModel(Database& db, QObject* parent) : QObject(parent), m_db(db), m_till(noTill()) {
    setObjectName(QStringLiteral("till"));
    load();
}

void TillModel::load() {
    const auto stored = TillStore::readTill(m_db);
    m_hasTill = stored.has_value();
    m_till = stored.value_or(noTill());
    m_counts = TillStore::readCounts(m_db);
    m_lines = TillStore::readSale(m_db);
    m_booked = false;
    resetTotal();
    for (const SaleLine& l : m_lines)
        addToTotal(l);
    emit saleReset();
    emit changed();
}

// ---- the till ----

QString TillModel::numberText() const {
    return m_hasTill ? QString::number(m_till.number) : QString();
}

QString TillModel::countText(QChar key) const {
    return Money::count(double(m_counts.value(QString(key).toLower())));
}

void TillModel::recount() {
    m_counts = TillStore::readCounts(m_db);
    emit changed();
}

void TillModel::loadNames() {
    m_names = TillStore::readNames(m_db);
    emit changed();
}

qint64 TillModel::nextNumber() const {
    const qint64 last = TillStore::readCounter(m_db);
    if (last >= std::numeric_limits<int>::max())
        throw AppError(QStringLiteral("O contador de caixas chegou ao maior valor possível (%1). Ajuste o "
                                      "\"Nº Inicial do Caixa\" na configuração de produtos antes de abrir "
                                      "um novo caixa.")
                           .arg(last));
    return last + 1;
}

void TillModel::open(const Opening& o, qint64 number) {
    TillStore::TillRow t;
    t.open = true;
    t.number = number;
    t.responsible = o.responsible;
    t.operatorName = o.operatorName;
    t.openDate = o.date;
    t.openTime = o.time;
    t.floatText = o.floatText;
    t.cash = o.floatText;
    t.withdrawn = QStringLiteral("0,00");
    m_db.transaction([&] {
        TillStore::writeCounter(m_db, number);
        TillStore::emptyTally(m_db);
        TillStore::emptyCounts(m_db);
        TillStore::emptySale(m_db);
        TillStore::writeTill(m_db, t);
    });
    m_till = t;
    m_hasTill = true;
    m_counts.clear();
    m_lines.clear();
    m_booked = false;
    resetTotal();
    emit saleReset();
    emit changed();
}

TillModel::Withdrawal TillModel::withdrawal(const QString& amount) const {
    const Cents r = Cents::parse(amount);
    const Cents c = Cents::parse(m_till.cash);
    const Cents s = Cents::parse(m_till.withdrawn);
    return {(c - r).text(), (r + s).text(), m_till.withdrawals + 1};
}

void TillModel::withdraw(const QString& amount) {
    const Withdrawal w = withdrawal(amount);
    TillStore::TillRow t = m_till;
    t.cash = w.cash;
    t.withdrawn = w.withdrawn;
    t.withdrawals = w.count;
    const TillStore::TillRow before = m_till;
    m_till = t; // the backup text reads the new figures
    try {
        m_db.transaction([&] {
            TillStore::writeTill(m_db, t);
            TillStore::writeBackup(m_db, backupText());
        });
    } catch (...) {
        m_till = before;
        throw;
    }
    emit changed();
}

void TillModel::close(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at) {
    TillStore::TillRow t = m_till;
    t.open = false;
    HistoryStore::ClosingFacts facts{at.isValid() ? at : Clock::now(), closedBy, std::nullopt};
    if (counted) facts.countedCents = HistoryStore::cents(*counted); // an unreadable amount closes nothing
    m_db.transaction([&] {
        HistoryStore::recordClosing(m_db, m_till, facts); // reads the tally before it is emptied
        TillStore::emptyTally(m_db);
        TillStore::emptyCounts(m_db); // the counts shown stay until the next opening
        TillStore::writeTill(m_db, t);
    });
    m_till = t;
    emit changed();
}

QString TillModel::backupText() const {
    QStringList lines;
    lines << QStringLiteral("Responsável: ") + m_till.responsible;
    lines << QStringLiteral("Operador: ") + m_till.operatorName;
    lines << QStringLiteral("Data: ") + m_till.openDate;
    lines << QStringLiteral("Hora: ") + m_till.openTime;
    lines << QStringLiteral("Entrada: ") + m_till.floatText;
    lines << QStringLiteral(" ");
    for (const QChar k : ProductKeys::all())
        lines << name(k) + QStringLiteral("  ") + countText(k);
    lines << QStringLiteral(" ");
    lines << QStringLiteral("Entrada: R$ ") + m_till.floatText;
    lines << QStringLiteral("Sangria: R$ ") + m_till.withdrawn;
    lines << QStringLiteral("Total Caixa: R$ ") + m_till.cash;
    lines << QStringLiteral("Total Sangria: ") + withdrawalsText();
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

void TillModel::saveBackup() {
    TillStore::writeBackup(m_db, backupText());
}

// ---- the sale in progress ----

void TillModel::resetTotal() {
    m_sum = Cents();
    m_totalText.clear();
    m_totalError.reset();
}

void TillModel::addToTotal(const SaleLine& line) {
    if (m_totalError) return; // the total stops at the first line that is no amount
    try {
        m_sum += Cents::parse(line.price);
        m_totalText = m_sum.text();
    } catch (const ConversionError& e) {
        m_totalError = e.text();
    }
}

void TillModel::addLine(QChar key) {
    if (m_booked) clearSale(); // a booked sale still on screen is over
    SaleLine line = TillStore::productLine(m_db, key);
    {
        // The line survives a crash at once and reaches the disk before the sale's first ticket.
        const Database::Relaxed relaxed(m_db);
        line.rowid = TillStore::insertSaleLine(m_db, line);
    }
    m_lines << line;
    addToTotal(line);
    emit lineAdded(int(m_lines.size()) - 1);
}

int TillModel::ticketsOf(const SaleLine& line) {
    const QString text = line.tickets.toString();
    if (text.isEmpty()) return 0;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok) throw ConversionError(QStringLiteral("'%1' não é um valor inteiro válido").arg(text));
    return n;
}

void TillModel::printTickets(const std::function<void(const SaleLine& line)>& print) {
    for (const SaleLine& line : m_lines)
        ticketsOf(line);
    // every line on the disk before anything prints
    TillStore::setTicketsPrinted(m_db, m_till.ticketsPrinted);
    int ticket = 0;
    for (const SaleLine& line : m_lines) {
        const int n = ticketsOf(line);
        for (int i = 0; i < n; ++i, ++ticket) {
            if (ticket < m_till.ticketsPrinted) continue;
            print(line);
            TillStore::setTicketsPrinted(m_db, m_till.ticketsPrinted + 1);
            ++m_till.ticketsPrinted;
        }
    }
}

bool TillModel::coversSale(const QString& handedOver) const {
    if (!Money::isValid(handedOver) || m_totalError || !Money::isValid(m_totalText)) return true;
    return Cents::parse(handedOver) >= m_sum;
}

Cents TillModel::completeSale(const QString& handedOver,
                              const std::function<void(const SaleLine& line)>& print) {
    const Cents cash = Cents::parse(handedOver);
    if (m_totalError) throw ConversionError(*m_totalError);
    Cents::parse(m_totalText);
    Cents::parse(m_till.cash);
    for (const SaleLine& line : std::as_const(m_lines))
        ticketsOf(line);
    const Cents change = cash - m_sum;
    printTickets(print);
    bookSale();
    return change;
}

void TillModel::bookSale() {
    if (m_booked || m_lines.isEmpty()) return;
    if (m_totalError) throw ConversionError(*m_totalError);
    TillStore::TillRow t = m_till;
    t.cash = (m_sum + Cents::parse(m_till.cash)).text();
    t.ticketsPrinted = 0;
    int tickets = 0;
    for (const SaleLine& line : m_lines) {
        try {
            tickets += ticketsOf(line);
        } catch (const ConversionError&) { // counted as none, as the tally's sums do
        }
    }
    const qint64 totalCents = HistoryStore::cents(m_totalText);
    m_db.transaction([&] {
        HistoryStore::recordSale(m_db, m_till.number, Clock::now(), totalCents, tickets);
        TillStore::bookSale(m_db);
        TillStore::emptySale(m_db);
        TillStore::writeTill(m_db, t);
    });
    m_till = t;
    m_booked = true; // the counts shown follow at the next recount
    emit changed();
}

void TillModel::clearSale() {
    m_db.transaction([&] {
        TillStore::emptySale(m_db);
        if (m_till.ticketsPrinted != 0) TillStore::setTicketsPrinted(m_db, 0);
    });
    m_till.ticketsPrinted = 0;
    m_lines.clear();
    m_booked = false;
    resetTotal();
    emit saleReset();
}
