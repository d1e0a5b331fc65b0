#include "tillmodel.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/till/productkeys.h"

#include <QJsonObject>

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

TillModel::TillModel(Database& db, QObject* parent)
    : QObject(parent), m_db(db), m_journal(db), m_till(noTill()) {
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
    m_printStopped = false;
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
    openTill(o, number, {});
}

void TillModel::open(const Opening& o, qint64 number, Report& report) {
    const auto document = m_journal.begin(
        PrintJournal::Kind::Opening, QStringLiteral("O relatório de abertura do caixa nº %1").arg(number),
        {{QStringLiteral("numero"), number},
         {QStringLiteral("responsavel"), o.responsible},
         {QStringLiteral("operador"), o.operatorName},
         {QStringLiteral("data"), o.date},
         {QStringLiteral("hora"), o.time},
         {QStringLiteral("entrada"), o.floatText}});
    const PrintJob job = m_journal.print(document, report);
    openTill(o, number, [&] { m_journal.markPrinted(document, job); });
}

void TillModel::openTill(const Opening& o, qint64 number, const std::function<void()>& alsoStore) {
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
        for (TillRecorder* r : m_recorders)
            r->recordOpening(m_db, t);
        if (alsoStore) alsoStore();
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
    bookWithdrawal(amount, {});
}

void TillModel::withdraw(const QString& amount, Report& receipt) {
    const Withdrawal w = withdrawal(amount); // an unreadable amount stops before anything prints
    const auto document = m_journal.begin(PrintJournal::Kind::Withdrawal,
                                          QStringLiteral("O recibo da retirada nº %1 (R$ %2) do caixa nº %3")
                                              .arg(w.count)
                                              .arg(amount)
                                              .arg(m_till.number),
                                          {{QStringLiteral("caixa"), m_till.number},
                                           {QStringLiteral("valor"), amount},
                                           {QStringLiteral("sangria"), w.count}});
    const PrintJob job = m_journal.print(document, receipt);
    bookWithdrawal(amount, [&] { m_journal.markPrinted(document, job); });
}

void TillModel::bookWithdrawal(const QString& amount, const std::function<void()>& alsoStore) {
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
            for (TillRecorder* r : m_recorders)
                r->recordWithdrawal(m_db, t, amount);
            if (alsoStore) alsoStore();
        });
    } catch (...) {
        m_till = before;
        throw;
    }
    emit changed();
}

void TillModel::close(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at) {
    closeTill(counted, closedBy, at, {});
}

void TillModel::close(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at,
                      Report& report) {
    if (counted) Cents::parse(*counted); // an unreadable amount prints nothing
    const QDateTime moment = at.isValid() ? at : Clock::now();
    QJsonObject step{{QStringLiteral("numero"), m_till.number},
                     {QStringLiteral("fechado_por"), closedBy},
                     {QStringLiteral("momento"), moment.toString(Qt::ISODateWithMs)}};
    if (counted) step.insert(QStringLiteral("contado"), *counted);
    const auto document =
        m_journal.begin(PrintJournal::Kind::Closing,
                        QStringLiteral("O relatório de fechamento do caixa nº %1").arg(m_till.number), step);
    const PrintJob job = m_journal.print(document, report);
    closeTill(counted, closedBy, moment, [&] { m_journal.markPrinted(document, job); });
}

void TillModel::closeTill(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at,
                          const std::function<void()>& alsoStore) {
    TillStore::TillRow t = m_till;
    t.open = false;
    ClosingFacts facts{at.isValid() ? at : Clock::now(), closedBy, std::nullopt};
    if (counted) facts.countedCents = Cents::parse(*counted).value(); // an unreadable amount closes nothing
    m_db.transaction([&] {
        for (TillRecorder* r : m_recorders)
            r->recordClosing(m_db, m_till, facts); // the tally is still there to read
        TillStore::emptyTally(m_db);
        TillStore::emptyCounts(m_db); // the counts shown stay until the next opening
        TillStore::writeTill(m_db, t);
        if (alsoStore) alsoStore();
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

void TillModel::printTickets(const TicketPrint& print) {
    for (const SaleLine& line : m_lines)
        ticketsOf(line);
    m_printStopped = true; // until every ticket has printed
    // The tickets left, in line order, each a document of its own.
    QList<PrintJournal::Document> documents;
    QList<const SaleLine*> lineOf;
    int ticket = 0;
    for (const SaleLine& line : m_lines) {
        const int n = ticketsOf(line);
        for (int i = 0; i < n; ++i, ++ticket) {
            if (ticket < m_till.ticketsPrinted) continue;
            PrintJournal::Document d;
            d.kind = PrintJournal::Kind::Ticket;
            d.description = QStringLiteral("A ficha %1 de %2").arg(ticket + 1).arg(line.product);
            d.step = {{QStringLiteral("caixa"), m_till.number},
                      {QStringLiteral("venda"), m_lines.constFirst().rowid},
                      {QStringLiteral("ficha"), ticket}};
            documents << d;
            lineOf << &line;
        }
    }
    // Every line and every ticket left on the disk before anything prints.
    const auto flushLines = [&] { TillStore::setTicketsPrinted(m_db, m_till.ticketsPrinted); };
    if (documents.isEmpty()) {
        flushLines();
        m_printStopped = false;
        return;
    }
    documents = m_journal.begin(documents, flushLines);
    for (qsizetype i = 0; i < documents.size(); ++i) {
        PrintJob job;
        try {
            job = m_journal.print(documents[i], [&](const QString& name) { return print(*lineOf[i], name); });
        } catch (...) {
            // the tickets after it never went to the printer
            m_db.transaction([&] {
                for (qsizetype j = i + 1; j < documents.size(); ++j)
                    m_journal.markNotPrinted(documents[j]);
            });
            throw;
        }
        // A mark lost to a power cut is settled from the printer's side: no need to wait for the disk.
        const Database::Relaxed relaxed(m_db);
        m_db.transaction([&] {
            m_journal.markPrinted(documents[i], job);
            TillStore::setTicketsPrinted(m_db, m_till.ticketsPrinted + 1);
        });
        ++m_till.ticketsPrinted;
    }
    m_printStopped = false;
}

bool TillModel::coversSale(const QString& handedOver) const {
    if (!Money::isValid(handedOver) || m_totalError || !Money::isValid(m_totalText)) return true;
    return Cents::parse(handedOver) >= m_sum;
}

Cents TillModel::completeSale(const QString& handedOver, const TicketPrint& print) {
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
    const qint64 totalCents = Cents::parse(m_totalText).value();
    const SaleFacts sale{m_till.number, Clock::now(), m_lines, totalCents, tickets};
    m_db.transaction([&] {
        for (TillRecorder* r : m_recorders)
            r->recordSale(m_db, sale);
        TillStore::bookSale(m_db);
        TillStore::emptySale(m_db);
        TillStore::writeTill(m_db, t);
    });
    m_till = t;
    m_booked = true; // the counts shown follow at the next recount
    m_printStopped = false;
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
    m_printStopped = false;
    resetTotal();
    emit saleReset();
}
