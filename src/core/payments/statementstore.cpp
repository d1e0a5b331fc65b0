#include "statementstore.h"

#include "core/db/database.h"
#include "core/payments/pixcode.h"

#include <QHash>
#include <QSqlQuery>

namespace StatementStore {

namespace {

const QString momentFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString identity(const StatementCredit& c, QHash<QString, int>& seen) {
    if (!c.id.isEmpty()) return QStringLiteral("id:") + c.id;
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(c.at.toString(momentFormat))
                            .arg(c.cents)
                            .arg(PixCode::ascii(c.payer, 200).toUpper());
    return QStringLiteral("sem-id:%1|%2").arg(key).arg(++seen[key]);
}

// A text for a NOT NULL column: an empty value is an empty text, never NULL.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

bool exists(Database& db, const QString& sql, const QString& value) {
    QSqlQuery q = db.prepare(sql);
    q.addBindValue(value);
    Database::run(q);
    return q.next();
}

} // namespace

ImportOutcome import(Database& db, const Statement& s, const QString& fileName, const QDateTime& now) {
    ImportOutcome out;
    db.transaction([&] {
        if (exists(db, QStringLiteral("SELECT 1 FROM tbl_pix_extratos WHERE hash = ?"),
                   QString::fromLatin1(s.hash))) {
            out.fileKnown = true;
            return;
        }
        QSqlQuery add = db.prepare(QStringLiteral("INSERT INTO tbl_pix_extratos (hash, arquivo, formato, "
                                                  "importado_em, creditos) VALUES (?, ?, ?, ?, ?)"));
        add.addBindValue(QString::fromLatin1(s.hash));
        add.addBindValue(text(fileName));
        add.addBindValue(text(s.format));
        add.addBindValue(now.toString(momentFormat));
        add.addBindValue(qint64(s.credits.size()));
        Database::run(add);
        const qint64 statementId = add.lastInsertId().toLongLong();
        QSqlQuery credit = db.prepare(
            QStringLiteral("INSERT INTO tbl_pix_creditos (extrato_id, identidade, momento, com_hora, "
                           "valor_centavos, fitid, pagador, memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
                           "ON CONFLICT (identidade) DO NOTHING"));
        QHash<QString, int> seen;
        for (const StatementCredit& c : s.credits) {
            credit.addBindValue(statementId);
            credit.addBindValue(identity(c, seen));
            credit.addBindValue(c.at.toString(momentFormat));
            credit.addBindValue(c.hasTime ? 1 : 0);
            credit.addBindValue(c.cents);
            credit.addBindValue(text(c.id));
            credit.addBindValue(text(c.payer));
            credit.addBindValue(text(c.memo));
            Database::run(credit);
            if (credit.numRowsAffected() > 0)
                ++out.added;
            else
                ++out.known;
        }
    });
    return out;
}

QList<StoredCredit> credits(Database& db) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT id, momento, com_hora, valor_centavos, fitid, pagador, memo "
                                  "FROM tbl_pix_creditos ORDER BY momento, id"));
    Database::run(q);
    QList<StoredCredit> out;
    while (q.next()) {
        StoredCredit s;
        s.id = q.value(0).toLongLong();
        s.credit.at = QDateTime::fromString(q.value(1).toString(), momentFormat);
        s.credit.hasTime = q.value(2).toInt() != 0;
        s.credit.cents = q.value(3).toLongLong();
        s.credit.id = q.value(4).toString();
        s.credit.payer = q.value(5).toString();
        s.credit.memo = q.value(6).toString();
        out << s;
    }
    return out;
}

void saveResult(Database& db, const QList<Reconciliation::PixSale>& sales, const QList<StoredCredit>& credits,
                const Reconciliation::Result& r, const QDateTime& now) {
    db.transaction([&] {
        db.execute(QStringLiteral("DELETE FROM tbl_pix_conciliacao"));
        QSqlQuery q = db.prepare(QStringLiteral(
            "INSERT INTO tbl_pix_conciliacao (conciliado_em, situacao, caixa, numero_caixa, venda, txid, "
            "valor_centavos, venda_em, credito_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const auto line = [&](const QString& state, const Reconciliation::PixSale* s, const StoredCredit* c) {
            q.addBindValue(now.toString(momentFormat));
            q.addBindValue(state);
            q.addBindValue(text(s ? s->desk : QString()));
            q.addBindValue(s ? s->till : qint64(0));
            q.addBindValue(s ? s->sale : qint64(0));
            q.addBindValue(text(s ? s->txid : QString()));
            q.addBindValue(s ? s->cents : c->credit.cents);
            q.addBindValue(text(s ? s->moment.toString(momentFormat) : QString()));
            q.addBindValue(c ? QVariant(c->id) : QVariant(QMetaType::fromType<qint64>()));
            Database::run(q);
        };
        for (const Reconciliation::Match& m : r.matched)
            line(m.byTxid ? QStringLiteral("conferida-txid") : QStringLiteral("conferida"), &sales.at(m.sale),
                 &credits.at(m.credit));
        for (const qsizetype i : r.salesWithoutCredit)
            line(QStringLiteral("venda-sem-credito"), &sales.at(i), nullptr);
        for (const qsizetype c : r.creditsWithoutSale)
            line(QStringLiteral("credito-sem-venda"), nullptr, &credits.at(c));
    });
}

QList<ResultLine> result(Database& db) {
    QSqlQuery q =
        db.prepare(QStringLiteral("SELECT situacao, caixa, numero_caixa, venda, txid, valor_centavos, "
                                  "credito_id FROM tbl_pix_conciliacao ORDER BY id"));
    Database::run(q);
    QList<ResultLine> out;
    while (q.next())
        out << ResultLine{q.value(0).toString(),   q.value(1).toString(), q.value(2).toLongLong(),
                          q.value(3).toLongLong(), q.value(4).toString(), q.value(5).toLongLong(),
                          q.value(6).toLongLong()};
    return out;
}

} // namespace StatementStore
