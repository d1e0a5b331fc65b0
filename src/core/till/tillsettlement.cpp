#include "tillmodel.h"

#include "core/db/database.h"
#include "core/till/ticketjobstore.h"

#include <QJsonObject>

// After a crash, or a print that ended in doubt: each document the journal holds in doubt is settled as
// the paper says, and the step it belongs to completes or is dropped.

QString TillModel::question(const PrintJournal::Document& document) {
    return document.description + QStringLiteral(" saiu na impressora?");
}

QStringList TillModel::settleDocuments(const std::function<bool(const PrintJournal::Document&)>& ask) {
    QStringList told;
    qint64 saleNotPrinted = -1; // a sale whose tickets stopped printing: the later ones did not print
    for (const PrintJournal::Document& d : m_journal.inDoubt()) {
        const qint64 sale = d.step.value(QStringLiteral("venda")).toInteger(-1);
        bool printed = false;
        const bool neverSent = d.state == PrintJournal::State::InDoubt;
        const bool afterOneNotPrinted =
            d.kind == PrintJournal::Kind::Ticket && sale >= 0 && sale == saleNotPrinted;
        if (neverSent || afterOneNotPrinted) {
            printed = false;
        } else if (const std::optional<bool> paper = PrintJournal::askPrinter(d)) {
            printed = *paper;
        } else {
            printed = ask(d);
        }
        if (d.kind == PrintJournal::Kind::Ticket && !printed) saleNotPrinted = sale;
        const QString text = settle(d, printed);
        if (!text.isEmpty()) told << text;
    }
    return told;
}

QString TillModel::settle(const PrintJournal::Document& d, bool printed) {
    const QJsonObject& s = d.step;
    const auto number = [&](const char* key) { return s.value(QLatin1String(key)).toInteger(-1); };
    const auto text = [&](const char* key) { return s.value(QLatin1String(key)).toString(); };
    const auto markPrinted = [&] { m_journal.markPrinted(d, PrintJob{d.route, 0}); };
    switch (d.kind) {
    case PrintJournal::Kind::Ticket: {
        if (const qint64 failed = number("reimpressao"); failed >= 0) { // a ticket printed again
            m_db.transaction([&] {
                if (printed) {
                    markPrinted();
                    TicketJobStore::setState(m_db, failed, TicketJobStore::State::Reprinted);
                } else {
                    m_journal.markNotPrinted(d);
                }
            });
            return {};
        }
        const int ticket = int(number("ficha"));
        const bool thisSale = m_till.open && number("caixa") == m_till.number && !m_lines.isEmpty() &&
                              number("venda") == m_lines.constFirst().rowid;
        if (!printed) {
            m_journal.markNotPrinted(d);
        } else if (thisSale && ticket >= m_till.ticketsPrinted) {
            m_db.transaction([&] {
                markPrinted();
                TillStore::setTicketsPrinted(m_db, ticket + 1);
            });
            m_till.ticketsPrinted = ticket + 1;
        } else {
            markPrinted();
        }
        return {};
    }
    case PrintJournal::Kind::Withdrawal: {
        const QString amount = text("valor");
        const qint64 n = number("sangria");
        if (!printed) {
            m_journal.markNotPrinted(d);
            return QStringLiteral(
                       "A retirada nº %1 de R$ %2 não foi registrada: o recibo dela não saiu na "
                       "impressora antes de o programa parar. Faça a retirada de novo, se for o caso.")
                .arg(n)
                .arg(amount);
        }
        if (m_till.open && number("caixa") == m_till.number && m_till.withdrawals == n - 1) {
            bookWithdrawal(amount, markPrinted);
            return QStringLiteral(
                       "A retirada nº %1 de R$ %2 foi registrada: o recibo dela saiu na impressora "
                       "antes de o programa parar.")
                .arg(n)
                .arg(amount);
        }
        m_journal.markVoid(d);
        return QStringLiteral("O recibo da retirada nº %1 de R$ %2 saiu na impressora, mas a retirada não "
                              "pôde ser registrada no caixa: o recibo está anulado.")
            .arg(n)
            .arg(amount);
    }
    case PrintJournal::Kind::Opening: {
        const qint64 n = number("numero");
        if (!printed) {
            m_journal.markNotPrinted(d);
            return QStringLiteral("A abertura do caixa nº %1 não foi concluída: o relatório não saiu na "
                                  "impressora. Abra o caixa de novo.")
                .arg(n);
        }
        if (!m_till.open && TillStore::readCounter(m_db) < n) {
            openTill({text("responsavel"), text("operador"), text("data"), text("hora"), text("entrada")}, n,
                     markPrinted);
            return QStringLiteral(
                       "O caixa nº %1 foi aberto: o relatório de abertura saiu na impressora antes "
                       "de o programa parar.")
                .arg(n);
        }
        m_journal.markVoid(d);
        return QStringLiteral("O relatório de abertura do caixa nº %1 saiu na impressora, mas a abertura não "
                              "pôde ser concluída: o relatório está anulado.")
            .arg(n);
    }
    case PrintJournal::Kind::Closing: {
        const qint64 n = number("numero");
        if (!printed) {
            m_journal.markNotPrinted(d);
            return QStringLiteral("O fechamento do caixa nº %1 não foi concluído: o relatório não saiu na "
                                  "impressora. O caixa continua aberto.")
                .arg(n);
        }
        if (m_till.open && n == m_till.number) {
            const std::optional<QString> counted = s.contains(QStringLiteral("contado"))
                                                       ? std::optional<QString>(text("contado"))
                                                       : std::nullopt;
            closeTill(counted, text("fechado_por"), QDateTime::fromString(text("momento"), Qt::ISODateWithMs),
                      markPrinted);
            return QStringLiteral("O caixa nº %1 foi fechado: o relatório de fechamento saiu na impressora "
                                  "antes de o programa parar.")
                .arg(n);
        }
        m_journal.markVoid(d);
        return QStringLiteral("O relatório de fechamento do caixa nº %1 saiu na impressora, mas o fechamento "
                              "não pôde ser concluído: o relatório está anulado.")
            .arg(n);
    }
    case PrintJournal::Kind::Backup:
    case PrintJournal::Kind::History:
        if (printed)
            markPrinted();
        else
            m_journal.markNotPrinted(d);
        return {};
    }
    return {};
}
