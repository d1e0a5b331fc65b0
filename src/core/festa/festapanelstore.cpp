#include "festapanelstore.h"

#include "core/festa/festaconnection.h"
#include "core/festa/festaserverstore.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <limits>

namespace FestaPanelStore {

using FestaServerStore::prepare;
using FestaServerStore::run;

namespace {

// A stopped desk's till as its own rows tell it: the last till row it holds apart (branch "" for the
// server's, the copy's hash), else the last one the server counted (before `before` for a copy).
void tillFromRows(QSqlDatabase& db, DeskFigures& d, const QString& branch, qint64 before) {
    QSqlQuery q =
        prepare(db, QStringLiteral(
                        "SELECT tipo, conteudo FROM (SELECT seq, tipo, conteudo, 1 AS retido FROM "
                        "festa.retidos WHERE caixa = ?::uuid AND ramo = ? AND tipo IN ('abertura', "
                        "'adesao', 'fechamento') UNION ALL SELECT seq, tipo, conteudo, 0 FROM festa.diario "
                        "WHERE caixa = ?::uuid AND seq < ? AND tipo IN ('abertura', 'adesao', "
                        "'fechamento')) r ORDER BY retido DESC, seq DESC LIMIT 1"));
    q.addBindValue(d.deskId);
    q.addBindValue(branch);
    q.addBindValue(d.deskId);
    q.addBindValue(before);
    run(q);
    if (!q.next()) return;
    const QString kind = q.value(0).toString();
    const QJsonObject c = QJsonDocument::fromJson(q.value(1).toString().toUtf8()).object();
    q.finish();
    d.tillOpen = kind == QLatin1String("abertura") ||
                 (kind == QLatin1String("adesao") && c.value(QStringLiteral("aberto")).toBool());
    if (c.contains(QStringLiteral("caixa"))) d.tillNumber = c.value(QStringLiteral("caixa")).toInteger();
}

} // namespace

Figures read(QSqlDatabase& db, int silent) {
    Figures f;
    QSqlQuery desks =
        prepare(db, QStringLiteral(
                        "SELECT k.id::text, k.nome, k.ultimo_contato, "
                        "extract(epoch FROM now() - k.ultimo_contato)::bigint, k.a_enviar, "
                        "coalesce(k.ultimo_seq - k.primeiro_seq + 1, 0), k.parado, k.catalogo, "
                        "coalesce(t.aberto, false), coalesce(t.numero, 0), coalesce(t.entrada_centavos, 0), "
                        "coalesce(t.vendas_centavos, 0), coalesce(t.vendas, 0), "
                        "coalesce(t.sangria_centavos, 0), coalesce(t.sangrias, 0), "
                        "coalesce(s.vendas, 0), coalesce(s.sangria, 0), coalesce(s.sangrias, 0) "
                        "FROM festa.caixas k "
                        "LEFT JOIN festa.turnos t ON t.caixa = k.id AND t.abertura_seq = k.turno "
                        "LEFT JOIN (SELECT caixa, sum(vendas_centavos) AS vendas, sum(sangria_centavos) AS "
                        "sangria, sum(sangrias) AS sangrias FROM festa.turnos GROUP BY caixa) s "
                        "ON s.caixa = k.id ORDER BY k.nome, k.id"));
    run(desks);
    while (desks.next()) {
        DeskFigures d;
        d.deskId = desks.value(0).toString();
        d.name = desks.value(1).toString();
        d.lastContact = desks.value(2).toDateTime();
        d.secondsSinceContact = desks.value(3).isNull() ? -1 : desks.value(3).toLongLong();
        d.waiting = desks.value(4).toLongLong();
        d.received = desks.value(5).toLongLong();
        d.stopped = desks.value(6).toString();
        d.catalogue = desks.value(7).toInt();
        d.tillOpen = desks.value(8).toBool();
        d.tillNumber = desks.value(9).toLongLong();
        d.floatCents = desks.value(10).toLongLong();
        d.salesCents = desks.value(11).toLongLong();
        d.sales = desks.value(12).toInt();
        d.withdrawnCents = desks.value(13).toLongLong();
        d.withdrawals = desks.value(14).toInt();
        d.festaSalesCents = desks.value(15).toLongLong();
        d.festaWithdrawnCents = desks.value(16).toLongLong();
        d.festaWithdrawals = desks.value(17).toInt();
        f.salesCents += d.festaSalesCents;
        f.desks << d;
    }

    // Each open claim: the server's branch stops, and the copy shows as a desk of its own.
    QSqlQuery claims = prepare(
        db, QStringLiteral("SELECT caixa::text, seq, hash, nome, ultimo_contato, extract(epoch FROM now() - "
                           "ultimo_contato)::bigint, a_enviar FROM festa.copias WHERE vencedor IS NULL "
                           "ORDER BY detectada_em, seq, hash"));
    run(claims);
    QList<DeskFigures> copies;
    while (claims.next()) {
        DeskFigures c;
        c.deskId = claims.value(0).toString();
        c.claimSeq = claims.value(1).toLongLong();
        c.claimHash = claims.value(2).toString();
        c.claimCopy = true;
        c.name = claims.value(3).toString();
        c.lastContact = claims.value(4).toDateTime();
        c.secondsSinceContact = claims.value(5).isNull() ? -1 : claims.value(5).toLongLong();
        c.waiting = claims.value(6).toLongLong();
        c.stopped = QStringLiteral("outro computador usa a mesma identidade (arquivo do caixa copiado); nada "
                                   "desta cópia depois do registro nº %1 está nos totais.")
                        .arg(c.claimSeq);
        copies << c;
    }
    for (DeskFigures& c : copies) { // once the claims are read: one statement at a time on the connection
        tillFromRows(db, c, c.claimHash, c.claimSeq);
        for (DeskFigures& d : f.desks) {
            if (d.deskId != c.deskId || d.claimSeq != 0) continue;
            d.claimSeq = c.claimSeq;
            d.claimHash = c.claimHash;
            d.stopped = QStringLiteral("outro computador usa a mesma identidade (arquivo do caixa copiado); "
                                       "os totais têm o que este enviou até parar.");
            tillFromRows(db, d, QStringLiteral(""), std::numeric_limits<qint64>::max());
        }
    }
    f.desks += copies;
    for (const DeskFigures& d : std::as_const(f.desks))
        if (d.waiting > 0 || !d.stopped.isEmpty() || d.secondsSinceContact < 0 ||
            d.secondsSinceContact > silent)
            f.partial = true;

    QSqlQuery products = prepare(
        db, QStringLiteral("SELECT caixa::text, chave, produto, sum(unidades), sum(fichas), sum(centavos) "
                           "FROM festa.totais_produto GROUP BY 1, 2, 3 ORDER BY 2, 3, 1"));
    run(products);
    QHash<QPair<QString, QString>, qsizetype> festaRow;
    while (products.next()) {
        ProductFigures p{products.value(0).toString(),   products.value(1).toString(),
                         products.value(2).toString(),   products.value(3).toLongLong(),
                         products.value(4).toLongLong(), products.value(5).toLongLong()};
        f.productsByDesk << p;
        const QPair<QString, QString> id{p.key, p.name};
        if (const auto it = festaRow.constFind(id); it != festaRow.constEnd()) {
            ProductFigures& sum = f.products[*it];
            sum.units += p.units;
            sum.tickets += p.tickets;
            sum.cents += p.cents;
        } else {
            festaRow.insert(id, f.products.size());
            p.deskId.clear();
            f.products << p;
        }
    }
    return f;
}

QList<ClosedTill> closedTills(QSqlDatabase& db) {
    QSqlQuery q =
        prepare(db, QStringLiteral("SELECT t.caixa::text, k.nome, t.numero, t.responsavel, t.operador, "
                                   "t.data, t.hora, t.fechado_em, t.fechado_por, t.entrada_centavos, "
                                   "t.vendas_centavos, t.vendas, t.sangria_centavos, t.sangrias, "
                                   "t.contado_centavos FROM festa.turnos t JOIN festa.caixas k ON "
                                   "k.id = t.caixa WHERE NOT t.aberto ORDER BY t.fechado_em DESC, k.nome"));
    run(q);
    QList<ClosedTill> out;
    while (q.next()) {
        ClosedTill c;
        c.deskId = q.value(0).toString();
        c.deskName = q.value(1).toString();
        c.number = q.value(2).toLongLong();
        c.responsible = q.value(3).toString();
        c.operatorName = q.value(4).toString();
        c.openDate = q.value(5).toString();
        c.openTime = q.value(6).toString();
        c.closedAt = q.value(7).toString();
        c.closedBy = q.value(8).toString();
        c.floatCents = q.value(9).toLongLong();
        c.salesCents = q.value(10).toLongLong();
        c.sales = q.value(11).toInt();
        c.withdrawnCents = q.value(12).toLongLong();
        c.withdrawals = q.value(13).toInt();
        c.expectedCents = c.floatCents + c.salesCents - c.withdrawnCents;
        if (!q.value(14).isNull()) c.countedCents = q.value(14).toLongLong();
        out << c;
    }
    return out;
}

FestaCatalogue catalogue(QSqlDatabase& db) {
    return FestaServerStore::catalogue(db, FestaServerStore::newestCatalogue(db));
}

int saveCatalogue(QSqlDatabase& db, const FestaCatalogue& c) {
    if (!db.transaction()) throw ServerError(db.lastError().text());
    try {
        QSqlQuery v =
            prepare(db, QStringLiteral("INSERT INTO festa.catalogo_versoes (versao, cabecalho, rodape) "
                                       "SELECT coalesce(max(versao), 0) + 1, ?, ? FROM "
                                       "festa.catalogo_versoes RETURNING versao"));
        v.addBindValue(c.header);
        v.addBindValue(c.footer);
        run(v);
        const int version = v.next() ? v.value(0).toInt() : 0;
        for (const FestaCatalogue::Product& p : c.products) {
            QSqlQuery q =
                prepare(db, QStringLiteral("INSERT INTO festa.catalogo_produtos (versao, chave, produto, "
                                           "impresso, preco, fichas) VALUES (?, ?, ?, ?, ?, ?)"));
            q.addBindValue(version);
            q.addBindValue(p.key.toLower());
            q.addBindValue(p.name);
            q.addBindValue(p.printed);
            q.addBindValue(p.price);
            q.addBindValue(p.tickets);
            run(q);
        }
        if (!db.commit()) throw ServerError(db.lastError().text());
        return version;
    } catch (...) {
        db.rollback();
        throw;
    }
}

QString resolveClaim(QSqlDatabase& db, const DeskFigures& keeper) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT festa.resolver_copia(?::uuid, ?, ?, ?)::text"));
    q.addBindValue(keeper.deskId);
    q.addBindValue(keeper.claimSeq);
    q.addBindValue(keeper.claimHash);
    q.addBindValue(keeper.claimCopy ? QStringLiteral("copia") : QStringLiteral("servidor"));
    run(q);
    QString id = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return id;
}

} // namespace FestaPanelStore
