#include "historystore.h"

#include "core/base/errors.h"
#include "core/base/money.h"
#include "core/db/database.h"

#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace HistoryStore {

namespace {

const QString momentFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString momentText(const QDateTime& moment) {
    return moment.toString(momentFormat);
}

QDateTime moment(const QVariant& v) {
    return v.isNull() ? QDateTime() : QDateTime::fromString(v.toString(), momentFormat);
}

// The closing never fails on an amount it cannot read (a float typed oddly): it keeps 0 for it.
qint64 centsOrZero(const QString& money) {
    return Money::isValid(money) ? cents(money) : 0;
}

// "(?, ?, ?)" for n values; at least one placeholder so the statement parses.
QString placeholders(qsizetype n) {
    QStringList marks;
    for (qsizetype i = 0; i < std::max<qsizetype>(n, 1); ++i)
        marks << QStringLiteral("?");
    return QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void bindIds(QSqlQuery& q, const QList<qint64>& ids) {
    if (ids.isEmpty()) q.addBindValue(qint64(-1));
    for (const qint64 id : ids)
        q.addBindValue(id);
}

// Rows of one key and name whose prices are the same amount typed two ways ("2,5" and "2,50") are one
// product at one price, shown as money; a price that is no amount stays as it was typed.
QList<ProductSold> samePriceMerged(const QList<ProductSold>& rows) {
    QList<ProductSold> out;
    for (ProductSold p : rows) {
        if (Money::isValid(p.price)) p.price = moneyText(cents(p.price));
        const auto same = std::find_if(out.begin(), out.end(), [&](const ProductSold& o) {
            return o.key == p.key && o.name == p.name && o.price == p.price;
        });
        if (same == out.end()) {
            out << p;
            continue;
        }
        same->units += p.units;
        same->tickets += p.tickets;
        same->cents += p.cents;
    }
    return out;
}

} // namespace

qint64 cents(const QString& money) {
    return Cents::parse(money).value();
}

QString moneyText(qint64 c) {
    return Cents(c).text();
}

void recordSale(Database& db, qint64 number, const QDateTime& at, qint64 totalCents, int tickets) {
    QSqlQuery q = db.prepare(QStringLiteral("INSERT INTO tbl_hist_vendas (numero, momento, total_centavos, "
                                            "fichas) VALUES (?, ?, ?, ?)"));
    q.addBindValue(number);
    q.addBindValue(momentText(at));
    q.addBindValue(totalCents);
    q.addBindValue(tickets);
    Database::run(q);
}

QList<ProductSold> tally(Database& db) {
    // What the tally holds per key, name and price.
    QSqlQuery tally = db.prepare(QStringLiteral("SELECT lower(coalesce(id, '')), coalesce(produto, ''), "
                                                "coalesce(valor, ''), count(*), sum(coalesce(quantidade, 0)) "
                                                "FROM tbl_cont_vendas GROUP BY 1, 2, 3 ORDER BY 1, 2, 3"));
    Database::run(tally);
    QList<ProductSold> products;
    while (tally.next()) {
        ProductSold p;
        p.key = tally.value(0).toString();
        p.name = tally.value(1).toString();
        p.price = tally.value(2).toString();
        p.units = tally.value(3).toLongLong();
        p.tickets = tally.value(4).toLongLong();
        p.cents = centsOrZero(p.price) * p.units;
        products << p;
    }
    return samePriceMerged(products);
}

int openSales(Database& db, qint64 number) {
    QSqlQuery q = db.prepare(
        QStringLiteral("SELECT count(*) FROM tbl_hist_vendas WHERE caixa_id IS NULL AND numero = ?"));
    q.addBindValue(number);
    Database::run(q);
    return q.next() ? q.value(0).toInt() : 0;
}

qint64 recordClosing(Database& db, const TillStore::TillRow& t, const ClosingFacts& f) {
    const QList<ProductSold> products = tally(db);
    qint64 salesCents = 0;
    for (const ProductSold& p : products)
        salesCents += p.cents;

    const QDateTime opened = QDateTime::fromString(t.openDate + QLatin1Char(' ') + t.openTime,
                                                   QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    QSqlQuery q = db.prepare(
        QStringLiteral("INSERT INTO tbl_hist_caixas (numero, responsavel, operador, fechado_por, "
                       "abertura_data, abertura_hora, aberto_em, fechado_em, entrada_centavos, "
                       "vendas_centavos, sangria_centavos, sangrias, esperado_centavos, contado_centavos) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    // an empty name is stored as the empty text, never as NULL
    const auto text = [](const QString& s) { return s.isNull() ? QStringLiteral("") : s; };
    q.addBindValue(t.number);
    q.addBindValue(text(t.responsible));
    q.addBindValue(text(t.operatorName));
    q.addBindValue(text(f.closedBy));
    q.addBindValue(text(t.openDate));
    q.addBindValue(text(t.openTime));
    q.addBindValue(opened.isValid() ? QVariant(momentText(opened)) : QVariant(QMetaType(QMetaType::QString)));
    q.addBindValue(momentText(f.closedAt));
    q.addBindValue(centsOrZero(t.floatText));
    q.addBindValue(salesCents);
    q.addBindValue(centsOrZero(t.withdrawn));
    q.addBindValue(t.withdrawals);
    q.addBindValue(centsOrZero(t.cash));
    q.addBindValue(f.countedCents ? QVariant(*f.countedCents) : QVariant(QMetaType(QMetaType::LongLong)));
    Database::run(q);
    const qint64 id = q.lastInsertId().toLongLong();

    for (const ProductSold& p : products) {
        QSqlQuery row = db.prepare(QStringLiteral("INSERT INTO tbl_hist_produtos (caixa_id, id, produto, "
                                                  "valor, unidades, fichas, total_centavos) "
                                                  "VALUES (?, ?, ?, ?, ?, ?, ?)"));
        row.addBindValue(id);
        row.addBindValue(p.key);
        row.addBindValue(p.name);
        row.addBindValue(p.price);
        row.addBindValue(p.units);
        row.addBindValue(p.tickets);
        row.addBindValue(p.cents);
        Database::run(row);
    }

    QSqlQuery tie = db.prepare(
        QStringLiteral("UPDATE tbl_hist_vendas SET caixa_id = ? WHERE caixa_id IS NULL AND numero = ?"));
    tie.addBindValue(id);
    tie.addBindValue(t.number);
    Database::run(tie);
    return id;
}

QList<ClosedTill> closedTills(Database& db) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT id, numero, responsavel, operador, fechado_por, "
                                            "abertura_data, abertura_hora, aberto_em, fechado_em, "
                                            "entrada_centavos, vendas_centavos, sangria_centavos, sangrias, "
                                            "esperado_centavos, contado_centavos FROM tbl_hist_caixas "
                                            "ORDER BY fechado_em DESC, id DESC"));
    Database::run(q);
    QList<ClosedTill> tills;
    while (q.next()) {
        ClosedTill c;
        c.id = q.value(0).toLongLong();
        c.number = q.value(1).toLongLong();
        c.responsible = q.value(2).toString();
        c.operatorName = q.value(3).toString();
        c.closedBy = q.value(4).toString();
        c.openDate = q.value(5).toString();
        c.openTime = q.value(6).toString();
        c.openedAt = moment(q.value(7));
        c.closedAt = moment(q.value(8));
        c.floatCents = q.value(9).toLongLong();
        c.salesCents = q.value(10).toLongLong();
        c.withdrawnCents = q.value(11).toLongLong();
        c.withdrawals = q.value(12).toInt();
        c.expectedCents = q.value(13).toLongLong();
        if (!q.value(14).isNull()) c.countedCents = q.value(14).toLongLong();
        tills << c;
    }
    return tills;
}

QList<ProductSold> productsSold(Database& db, const QList<qint64>& ids) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT id, produto, valor, sum(unidades), sum(fichas), "
                                            "sum(total_centavos) FROM tbl_hist_produtos WHERE caixa_id IN ") +
                             placeholders(ids.size()) + QStringLiteral(" GROUP BY 1, 2, 3 ORDER BY 1, 2, 3"));
    bindIds(q, ids);
    Database::run(q);
    QList<ProductSold> out;
    while (q.next()) {
        ProductSold p;
        p.key = q.value(0).toString();
        p.name = q.value(1).toString();
        p.price = q.value(2).toString();
        p.units = q.value(3).toLongLong();
        p.tickets = q.value(4).toLongLong();
        p.cents = q.value(5).toLongLong();
        out << p;
    }
    return samePriceMerged(out);
}

QList<SaleMoment> sales(Database& db, const QList<qint64>& ids) {
    QSqlQuery q = db.prepare(QStringLiteral("SELECT momento, total_centavos, fichas FROM tbl_hist_vendas "
                                            "WHERE caixa_id IN ") +
                             placeholders(ids.size()) + QStringLiteral(" ORDER BY momento, id"));
    bindIds(q, ids);
    Database::run(q);
    QList<SaleMoment> out;
    while (q.next())
        out << SaleMoment{moment(q.value(0)), q.value(1).toLongLong(), q.value(2).toInt()};
    return out;
}

} // namespace HistoryStore
