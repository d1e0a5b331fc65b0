#include "printjournal.h"

#include "core/base/clock.h"
#include "core/base/crashpoint.h"
#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/print/printjournalstore.h"
#include "core/print/printserver.h"

#include <QDir>
#include <QJsonDocument>
#include <QUuid>

#include <algorithm>

namespace {

using Kind = PrintJournal::Kind;
using State = PrintJournal::State;

constexpr std::pair<Kind, const char*> kinds[] = {
    {Kind::Ticket, "ficha"},       {Kind::Opening, "abertura"}, {Kind::Withdrawal, "sangria"},
    {Kind::Closing, "fechamento"}, {Kind::Backup, "copia"},     {Kind::History, "historico"},
};
constexpr std::pair<State, const char*> states[] = {
    {State::InDoubt, "pendente"},        {State::Sending, "enviando"}, {State::Printed, "impresso"},
    {State::NotPrinted, "nao_impresso"}, {State::Void, "anulado"},
};

template <typename E, size_t N> QString textOf(const std::pair<E, const char*> (&table)[N], E value) {
    for (const auto& [v, text] : table)
        if (v == value) return QLatin1String(text);
    return {};
}

template <typename E, size_t N> E valueOf(const std::pair<E, const char*> (&table)[N], const QString& text) {
    for (const auto& [v, t] : table)
        if (text == QLatin1String(t)) return v;
    return table[0].first;
}

PrintJournal::Document fromRow(const PrintJournalStore::Row& r) {
    return {r.seq,
            r.document,
            valueOf(kinds, r.kind),
            r.description,
            QJsonDocument::fromJson(r.step.toUtf8()).object(),
            r.route,
            valueOf(states, r.state)};
}

const char* crashName(Kind kind) {
    for (const auto& [v, text] : kinds)
        if (v == kind) return text;
    return "";
}

} // namespace

PrintJournal::PrintJournal(Database& db) : m_db(db) {}

QString PrintJournal::kindText(Kind kind) {
    return textOf(kinds, kind);
}

QList<PrintJournal::Document> PrintJournal::begin(QList<Document> documents,
                                                  const std::function<void()>& alsoStore) {
    const QString route = Printing::sink().route();
    const QString moment = Clock::now().toString(Qt::ISODate);
    m_db.transaction([&] {
        for (Document& d : documents) {
            d.name =
                kindText(d.kind) + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128).left(12);
            d.route = route;
            d.state = State::InDoubt;
            d.seq = PrintJournalStore::insert(
                m_db,
                {0, d.name, kindText(d.kind), d.description,
                 QString::fromUtf8(QJsonDocument(d.step).toJson(QJsonDocument::Compact)), route,
                 textOf(states, State::InDoubt)},
                moment);
        }
        if (alsoStore) alsoStore();
    });
    return documents;
}

PrintJournal::Document PrintJournal::begin(Kind kind, const QString& description, const QJsonObject& step) {
    Document d;
    d.kind = kind;
    d.description = description;
    d.step = step;
    return begin(QList<Document>{d}).constFirst();
}

PrintJob PrintJournal::print(const Document& document, const std::function<PrintJob(const QString&)>& print) {
    CrashPoint::hit("antes-de-imprimir", crashName(document.kind));
    // On the disk before anything goes out: a crash before this point leaves a document never sent.
    m_db.transaction(
        [&] { PrintJournalStore::setState(m_db, document.seq, textOf(states, State::Sending)); });
    PrintJob job;
    try {
        job = print(document.name);
    } catch (const PrintDoubt&) {
        throw; // in doubt: settled from the paper (settleDocuments)
    } catch (const PrintError&) {
        markNotPrinted(document);
        throw;
    }
    CrashPoint::hit("depois-de-imprimir", crashName(document.kind));
    return job;
}

PrintJob PrintJournal::print(const Document& document, Report& report) {
    report.setDocument(document.name);
    try {
        PrintJob job = print(document, [&report](const QString&) { return report.print(); });
        report.setDocument(QString());
        return job;
    } catch (...) {
        report.setDocument(QString());
        throw;
    }
}

void PrintJournal::markPrinted(const Document& document, const PrintJob& job) {
    PrintJournalStore::setPrinted(m_db, document.seq, textOf(states, State::Printed), job);
}

void PrintJournal::markNotPrinted(const Document& document) {
    PrintJournalStore::setState(m_db, document.seq, textOf(states, State::NotPrinted));
}

void PrintJournal::markVoid(const Document& document) {
    PrintJournalStore::setState(m_db, document.seq, textOf(states, State::Void));
}

PrintJob PrintJournal::printAlone(Kind kind, const QString& description, Report& report) {
    const Document d = begin(kind, description);
    PrintJob job = print(d, report);
    const Database::Relaxed relaxed(m_db); // a lost mark is settled from the printer's side
    markPrinted(d, job);
    return job;
}

QList<PrintJournal::Document> PrintJournal::inDoubt() const {
    QList<Document> out;
    for (const State state : {State::InDoubt, State::Sending})
        for (const PrintJournalStore::Row& r : PrintJournalStore::inState(m_db, textOf(states, state)))
            out << fromRow(r);
    std::sort(out.begin(), out.end(), [](const Document& a, const Document& b) { return a.seq < b.seq; });
    return out;
}

QList<PrintJournal::Document> PrintJournal::ofKind(Kind kind) const {
    QList<Document> out;
    for (const PrintJournalStore::Row& r : PrintJournalStore::ofKind(m_db, kindText(kind)))
        out << fromRow(r);
    return out;
}

std::optional<bool> PrintJournal::askPrinter(const Document& document) {
    if (document.route.startsWith(QLatin1String("pdf:"))) {
        // the file is written aside and renamed when whole: it exists in full or not at all
        const QDir folder(document.route.mid(4));
        return !folder.entryList({QStringLiteral("*-") + document.name + QStringLiteral(".pdf")}, QDir::Files)
                    .isEmpty();
    }
    if (document.route.startsWith(QLatin1String("cups:"))) {
        const PrintServer::FoundJob job = PrintServer::findJob(document.route.mid(5), document.name);
        if (!job.answered) return std::nullopt;
        if (job.id > 0 && job.documents == 0 && !PrintServer::ended(job.state))
            PrintServer::cancelJob(PrintJob{document.route.mid(5), job.id}); // its data never came
        return job.reachedPrinter();
    }
    return std::nullopt;
}
