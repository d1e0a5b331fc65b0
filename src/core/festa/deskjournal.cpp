#include "deskjournal.h"

#include "core/base/clock.h"
#include "core/base/money.h"
#include "core/db/database.h"
#include "core/festa/festajournalstore.h"
#include "core/history/historystore.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace DeskJournal {

namespace {

qint64 centsOrZero(const QString& money) {
    return Money::isValid(money) ? Cents::parse(money).value() : 0;
}

int ticketsOrZero(const TillStore::SaleLine& line) {
    bool ok = false;
    const int n = line.tickets.toString().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

QByteArray canonical(const QJsonObject& content) {
    return QJsonDocument(content).toJson(QJsonDocument::Compact);
}

QString hash(const QString& deskId, qint64 seq, const QByteArray& content) {
    const QByteArray text = deskId.toUtf8() + ':' + QByteArray::number(seq) + ':' + content;
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
}

qint64 append(Database& db, const QString& kind, QJsonObject content, const QDateTime& at) {
    qint64 seq = 0;
    db.transaction([&] {
        const FestaJournalStore::Desk desk = FestaJournalStore::desk(db);
        content.insert(QStringLiteral("tipo"), kind);
        content.insert(QStringLiteral("momento"),
                       (at.isValid() ? at : Clock::now()).toString(Qt::ISODateWithMs));
        seq = FestaJournalStore::nextSeq(db);
        const QByteArray text = canonical(content);
        FestaJournalStore::insert(db, {seq, kind, QString::fromUtf8(text), hash(desk.deskId, seq, text)});
    });
    return seq;
}

void recordOpening(Database& db, const TillStore::TillRow& t) {
    append(db, opening,
           {{QStringLiteral("caixa"), t.number},
            {QStringLiteral("responsavel"), t.responsible},
            {QStringLiteral("operador"), t.operatorName},
            {QStringLiteral("data"), t.openDate},
            {QStringLiteral("hora"), t.openTime},
            {QStringLiteral("entrada"), t.floatText},
            {QStringLiteral("entrada_centavos"), centsOrZero(t.floatText)}});
}

void recordSale(Database& db, qint64 tillNumber, const QList<TillStore::SaleLine>& lines, qint64 totalCents,
                int tickets, const QDateTime& at) {
    QJsonArray items;
    for (const TillStore::SaleLine& l : lines)
        items << QJsonObject{{QStringLiteral("chave"), l.id.toLower()},
                             {QStringLiteral("produto"), l.product},
                             {QStringLiteral("preco"), l.price},
                             {QStringLiteral("centavos"), centsOrZero(l.price)},
                             {QStringLiteral("fichas"), ticketsOrZero(l)}};
    append(db, sale,
           {{QStringLiteral("caixa"), tillNumber},
            {QStringLiteral("catalogo"), FestaJournalStore::desk(db).catalogue},
            {QStringLiteral("itens"), items},
            {QStringLiteral("total_centavos"), totalCents},
            {QStringLiteral("fichas"), tickets}},
           at);
}

void recordWithdrawal(Database& db, qint64 tillNumber, const QString& amount, int count) {
    append(db, withdrawal,
           {{QStringLiteral("caixa"), tillNumber},
            {QStringLiteral("valor"), amount},
            {QStringLiteral("centavos"), centsOrZero(amount)},
            {QStringLiteral("numero"), count}});
}

void recordClosing(Database& db, const TillStore::TillRow& t, const QString& closedBy, const QDateTime& at,
                   std::optional<qint64> countedCents) {
    QJsonObject content{{QStringLiteral("caixa"), t.number},
                        {QStringLiteral("fechado_por"), closedBy},
                        {QStringLiteral("esperado_centavos"), centsOrZero(t.cash)},
                        {QStringLiteral("contado_centavos"),
                         countedCents ? QJsonValue(*countedCents) : QJsonValue(QJsonValue::Null)}};
    append(db, closing, content, at);
}

void recordReprint(Database& db, const QString& productId, const QString& product,
                   const QString& ticketText) {
    append(db, reprint,
           {{QStringLiteral("chave"), productId.toLower()},
            {QStringLiteral("produto"), product},
            {QStringLiteral("impresso"), ticketText}});
}

void recordCatalogue(Database& db, int version) {
    append(db, catalogue, {{QStringLiteral("versao"), version}});
}

qint64 recordSnapshot(Database& db) {
    qint64 seq = 0;
    db.transaction([&] {
        const std::optional<TillStore::TillRow> t = TillStore::readTill(db);
        QJsonObject content{{QStringLiteral("aberto"), t && t->open}};
        if (t && t->open) {
            QJsonArray items;
            for (const HistoryStore::ProductSold& p : HistoryStore::tally(db))
                items << QJsonObject{{QStringLiteral("chave"), p.key},
                                     {QStringLiteral("produto"), p.name},
                                     {QStringLiteral("preco"), p.price},
                                     {QStringLiteral("centavos"), centsOrZero(p.price)},
                                     {QStringLiteral("unidades"), p.units},
                                     {QStringLiteral("fichas"), p.tickets},
                                     {QStringLiteral("total_centavos"), p.cents}};
            content.insert(QStringLiteral("caixa"), t->number);
            content.insert(QStringLiteral("responsavel"), t->responsible);
            content.insert(QStringLiteral("operador"), t->operatorName);
            content.insert(QStringLiteral("data"), t->openDate);
            content.insert(QStringLiteral("hora"), t->openTime);
            content.insert(QStringLiteral("entrada_centavos"), centsOrZero(t->floatText));
            content.insert(QStringLiteral("sangria_centavos"), centsOrZero(t->withdrawn));
            content.insert(QStringLiteral("sangrias"), t->withdrawals);
            content.insert(QStringLiteral("vendas"), HistoryStore::openSales(db, t->number));
            content.insert(QStringLiteral("itens"), items);
        }
        content.insert(QStringLiteral("catalogo"), FestaJournalStore::desk(db).catalogue);
        seq = append(db, snapshot, content);
    });
    return seq;
}

void takeIdentity(Database& db, const QString& deskId, qint64 fromSeq) {
    db.transaction([&] {
        constexpr int chunk = 500;
        for (qint64 from = fromSeq;;) {
            const QList<FestaJournalStore::Row> rows = FestaJournalStore::rows(db, from, chunk);
            for (const FestaJournalStore::Row& r : rows)
                FestaJournalStore::setHash(db, r.seq, hash(deskId, r.seq, r.content.toUtf8()));
            if (rows.size() < chunk) break;
            from = rows.constLast().seq + 1;
        }
        FestaJournalStore::setIdentity(db, deskId, fromSeq);
    });
}

qint64 waiting(Database& db) {
    const FestaJournalStore::Desk d = FestaJournalStore::desk(db);
    if (d.firstSeq <= 0) return 0;
    return std::max<qint64>(0, FestaJournalStore::lastSeq(db) - std::max(d.acknowledged, d.firstSeq - 1));
}

} // namespace DeskJournal
