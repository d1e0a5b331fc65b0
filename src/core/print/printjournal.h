#pragma once

#include "core/print/report.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Database;

// Every document that goes to paper (ticket, opening report, withdrawal receipt, closing report, backup
// print, history summary) is stored here before it prints, with the route its print takes and the step
// it belongs to, and is marked printed in the same transaction as that step's rows. A crash between the
// print and its mark leaves the document in doubt: the next start asks the printer's side whether it
// reached the paper (askPrinter) and completes or drops the step accordingly, so a document is never
// printed twice and a step never happens without its paper, or the other way round. Right before its
// print a document is marked as being sent, on the disk: one a crash left unmarked never went out.
class PrintJournal {
public:
    enum class Kind { Ticket, Opening, Withdrawal, Closing, Backup, History };
    // InDoubt: stored, never sent; Sending: its print may have reached the paper.
    enum class State { InDoubt, Sending, Printed, NotPrinted, Void };

    struct Document {
        qint64 seq = 0;
        QString name; // what the PDF file's name ends with and the print job's title carries
        Kind kind = Kind::Ticket;
        QString description; // "ficha 3 de CERVEJA"
        QJsonObject step;    // what the document's step needs to complete after a restart
        QString route;       // where its print went (see PrintSink::route)
        State state = State::InDoubt;
    };

    explicit PrintJournal(Database& db);

    // Stores the documents in doubt, each with a name of its own and the route the printer takes now,
    // on the disk before this returns (with whatever `alsoStore` writes, in the same transaction). Raises
    // PrintError before anything is stored when nothing can print now.
    QList<Document> begin(QList<Document> documents, const std::function<void()>& alsoStore = {});
    Document begin(Kind kind, const QString& description, const QJsonObject& step = {});

    // Prints `report` as the document: its name goes with the print, once the document is marked as
    // being sent. A print error marks the document not printed and is raised again; a PrintDoubt leaves
    // it in doubt. The caller marks it printed with its step (markPrinted).
    PrintJob print(const Document& document, Report& report);
    // The same for a print made by `print`, which receives the document's name.
    PrintJob print(const Document& document, const std::function<PrintJob(const QString& name)>& print);

    // Call inside the transaction of the step the document belongs to.
    void markPrinted(const Document& document, const PrintJob& job);
    void markNotPrinted(const Document& document);
    void markVoid(const Document& document);

    // Prints a document that no step depends on (backup print, history summary).
    PrintJob printAlone(Kind kind, const QString& description, Report& report);

    // The documents neither printed nor not printed (InDoubt or Sending), in the order stored.
    QList<Document> inDoubt() const;
    // Every document of a kind, in the order stored (for tests and audits).
    QList<Document> ofKind(Kind kind) const;

    // Whether a document in doubt reached the paper, as the printer's side tells: the PDF file with its
    // name exists; the print server holds a job with its name whose data arrived and that was neither
    // aborted nor canceled. Empty when the printer's side cannot tell (a printer spoken to directly, a
    // print server that does not answer): the cashier is asked.
    static std::optional<bool> askPrinter(const Document& document);

    // The states and kinds as stored.
    static QString kindText(Kind kind);

private:
    Database& m_db;
};
