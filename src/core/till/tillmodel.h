#pragma once

// core/till: the open till and the sale in progress (the model), their store and the tickets' print jobs.

#include "core/base/money.h"
#include "core/print/printjournal.h"
#include "core/till/tillrecorder.h"
#include "core/till/tillstore.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class Database;
class Report;

// The open till and the sale in progress. Every change is one database transaction together with the
// rows it books, so after a crash or a power cut the till comes back as of its last completed step.
// The windows show what this holds and call it; none of them keeps a figure of its own.
class TillModel : public QObject {
    Q_OBJECT
public:
    using SaleLine = TillStore::SaleLine;
    // Prints one ticket of the line as the named document and returns its job.
    using TicketPrint = std::function<PrintJob(const SaleLine& line, const QString& document)>;

    // What the opening window hands over.
    struct Opening {
        QString responsible;
        QString operatorName;
        QString date;
        QString time;
        QString floatText; // as typed
    };

    explicit TillModel(Database& db, QObject* parent = nullptr);

    // Each step also calls the recorders, in the order added, inside its transaction (none by default:
    // the bare till keeps only its own rows). The recorder outlives the model.
    void addRecorder(TillRecorder& recorder) { m_recorders << &recorder; }
    const QList<TillRecorder*>& recorders() const { return m_recorders; }

    // Reads the till, its counts and the sale in progress from the database.
    void load();

    // ---- the till ----
    bool isOpen() const { return m_till.open; }
    const TillStore::TillRow& till() const { return m_till; }
    QString numberText() const; // empty before the first till
    QString cash() const { return m_till.cash; }
    QString withdrawn() const { return m_till.withdrawn; }
    QString withdrawalsText() const { return QString::number(m_till.withdrawals); }

    // Tickets sold of a key in this till, as text ("0" when none).
    QString countText(QChar key) const;
    // Reads the per-product counts afresh.
    void recount();
    // Product names, as last loaded.
    QString name(QChar key) const { return m_names.value(QString(key)); }
    void loadNames();

    // The number the next opening takes; raises AppError when the counter is at its largest value.
    qint64 nextNumber() const;
    // Opens till `number`: the counter, the emptied tally and counts, the emptied sale and the till's
    // figures, in one transaction.
    void open(const Opening& opening, qint64 number);
    // Prints the opening report first (a print error opens nothing), then opens the till together with
    // the report's printed mark.
    void open(const Opening& opening, qint64 number, Report& report);

    // The figures a withdrawal of `amount` leaves (raises ConversionError for an unreadable amount).
    struct Withdrawal {
        QString cash;
        QString withdrawn;
        int count = 0;
    };
    Withdrawal withdrawal(const QString& amount) const;
    // Books the withdrawal and rewrites the last till backup, in one transaction.
    void withdraw(const QString& amount);
    // Prints the receipt first (a print error books nothing), then books the withdrawal together with
    // the receipt's printed mark.
    void withdraw(const QString& amount, Report& receipt);

    // Ends the till: the recorders told (with the cash counted, when given, and who closed it), the tally
    // emptied and the till closed, in one transaction. The figures stay readable until the next opening.
    // A counted amount that is no money text raises ConversionError before anything changes.
    // `at` is the closing's moment as its report printed it (now, when not given).
    void close(const std::optional<QString>& counted = std::nullopt, const QString& closedBy = QString(),
               const QDateTime& at = QDateTime());
    // Prints the closing report first (a print error leaves the till open), then closes the till
    // together with the report's printed mark.
    void close(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at,
               Report& report);

    // The last till backup: 31 lines, each ending CR LF.
    QString backupText() const;
    void saveBackup();

    // ---- the sale in progress ----
    const QList<SaleLine>& saleLines() const { return m_lines; }
    bool saleIsEmpty() const { return m_lines.isEmpty(); }
    // One line for the key's product, stored at once.
    void addLine(QChar key);
    // The running total of the sale's lines; a line whose price is not an amount stops it there
    // (saleError() tells why; the total keeps the lines before it). Empty for an empty sale.
    QString saleTotal() const { return m_totalText; }
    std::optional<QString> saleError() const { return m_totalError; }
    // Tickets of the sale already handed to the printer, stored as each one is.
    int ticketsPrinted() const { return m_till.ticketsPrinted; }
    // Hands the sale's tickets not yet printed to `print`, one call per ticket in line order, each as a
    // document of the print journal stored before anything prints, and records each one as soon as
    // `print` returns. A line's ticket count that is no integer raises ConversionError before anything
    // prints; an error from `print` stops there.
    void printTickets(const TicketPrint& print);
    static int ticketsOf(const SaleLine& line);
    // Books the sale: its lines into the tally, their tickets into the counts, its total into the cash,
    // in one transaction; the stored sale is emptied with it so it can never be booked twice. The
    // lines stay on screen until the sale is cleared. The counts shown follow at the next recount.
    void bookSale();
    bool saleBooked() const { return m_booked; }
    // No sale under way: none started, or the one still on screen is booked.
    bool betweenSales() const { return m_lines.isEmpty() || m_booked; }
    // The sale's tickets stopped printing (a printer error, a print in doubt, or a restart in the middle
    // of them): the sale is neither booked nor cleared and tickets are missing.
    bool ticketsStopped() const { return !betweenSales() && (m_printStopped || m_till.ticketsPrinted > 0); }

    // Whether `handedOver` covers the sale's total (an unreadable amount or total is left to
    // completeSale, which says what is wrong).
    bool coversSale(const QString& handedOver) const;
    // Completes the sale with the cash handed over: every amount and ticket count is read first
    // (ConversionError before anything happens), the tickets not yet printed go to `print` as
    // printTickets does, and the sale is booked once. Returns the change.
    Cents completeSale(const QString& handedOver, const TicketPrint& print);
    void clearSale();

    // ---- after a crash ----
    PrintJournal& journal() { return m_journal; }
    // Settles every document the journal holds in doubt, in the order printed: one never sent did not
    // print; for the others the printer's side is asked first, then `ask` (the cashier, with question())
    // when it cannot tell. The step of each one
    // completes or is dropped (settle). Returns what the cashier is told, one text per step.
    QStringList settleDocuments(const std::function<bool(const PrintJournal::Document&)>& ask);
    // Completes or drops the step of a document in doubt as the paper says; returns what the cashier
    // is told (empty: nothing to tell).
    QString settle(const PrintJournal::Document& document, bool printed);
    static QString question(const PrintJournal::Document& document);

signals:
    void changed();           // any figure of the till: once per completed step
    void saleReset();         // the sale's lines replaced or cleared
    void lineAdded(int line); // one line appended

private:
    void openTill(const Opening& opening, qint64 number, const std::function<void()>& alsoStore);
    void bookWithdrawal(const QString& amount, const std::function<void()>& alsoStore);
    void closeTill(const std::optional<QString>& counted, const QString& closedBy, const QDateTime& at,
                   const std::function<void()>& alsoStore);
    void resetTotal();
    void addToTotal(const SaleLine& line);

    Database& m_db;
    QList<TillRecorder*> m_recorders;
    PrintJournal m_journal;
    TillStore::TillRow m_till;
    bool m_hasTill = false; // a till was opened at some time
    QHash<QString, qint64> m_counts;
    QHash<QString, QString> m_names;
    QList<SaleLine> m_lines;
    Cents m_sum; // the sale's lines read so far
    QString m_totalText;
    std::optional<QString> m_totalError;
    bool m_booked = false;
    bool m_printStopped = false; // the sale's tickets stopped printing in this run
};
