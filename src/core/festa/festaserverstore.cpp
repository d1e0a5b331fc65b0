#include "festaserverstore.h"

#include "core/festa/festaconnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace FestaServerStore {

QSqlQuery prepare(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) throw ServerError(q.lastError().text(), q.lastError().nativeErrorCode());
    return q;
}

void run(QSqlQuery& q) {
    if (!q.exec()) throw ServerError(q.lastError().text(), q.lastError().nativeErrorCode());
}

void setTimeouts(QSqlDatabase& db, int milliseconds) {
    // SET takes no bound values; the number is the program's own.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET statement_timeout = %1").arg(milliseconds)))
        throw ServerError(q.lastError().text(), q.lastError().nativeErrorCode());
}

std::optional<int> schemaVersion(QSqlDatabase& db) {
    QSqlQuery exists = prepare(db, QStringLiteral("SELECT to_regclass('festa.versao_esquema') IS NOT NULL"));
    run(exists);
    if (!exists.next() || !exists.value(0).toBool()) return std::nullopt;
    QSqlQuery q = prepare(db, QStringLiteral("SELECT coalesce(max(versao), 0) FROM festa.versao_esquema"));
    run(q);
    return q.next() ? q.value(0).toInt() : 0;
}

QString festaId(QSqlDatabase& db) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT id::text FROM festa.festa"));
    run(q);
    if (!q.next()) throw ServerError(QStringLiteral("A base da festa não tem a sua identificação."));
    return q.value(0).toString();
}

std::optional<qint64> lastSeq(QSqlDatabase& db, const QString& deskId) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT max(seq) FROM festa.diario WHERE caixa = ?"));
    q.addBindValue(deskId);
    run(q);
    const std::optional<qint64> last =
        q.next() && !q.value(0).isNull() ? std::optional<qint64>(q.value(0).toLongLong()) : std::nullopt;
    q.finish();
    return last;
}

QSet<qint64> insert(QSqlDatabase& db, const QString& deskId, const QList<FestaJournalStore::Row>& rows) {
    if (rows.isEmpty()) return {};
    QStringList values;
    for (qsizetype i = 0; i < rows.size(); ++i)
        values << QStringLiteral("(?, ?, ?, ?, ?)");
    QSqlQuery q =
        prepare(db, QStringLiteral("INSERT INTO festa.diario (caixa, seq, tipo, conteudo, hash) VALUES ") +
                        values.join(QStringLiteral(", ")) +
                        QStringLiteral(" ON CONFLICT (caixa, seq) DO NOTHING RETURNING seq"));
    for (const FestaJournalStore::Row& r : rows) {
        q.addBindValue(deskId);
        q.addBindValue(r.seq);
        q.addBindValue(r.kind);
        q.addBindValue(r.content);
        q.addBindValue(r.hash);
    }
    run(q);
    QSet<qint64> inserted;
    while (q.next())
        inserted.insert(q.value(0).toLongLong());
    return inserted;
}

QHash<qint64, QString> hashes(QSqlDatabase& db, const QString& deskId, qint64 first, qint64 last) {
    QSqlQuery q =
        prepare(db, QStringLiteral("SELECT seq, hash FROM festa.diario WHERE caixa = ? AND seq BETWEEN "
                                   "? AND ?"));
    q.addBindValue(deskId);
    q.addBindValue(first);
    q.addBindValue(last);
    run(q);
    QHash<qint64, QString> out;
    while (q.next())
        out.insert(q.value(0).toLongLong(), q.value(1).toString());
    return out;
}

void heartbeat(QSqlDatabase& db, const Heartbeat& b) {
    QSqlQuery q =
        prepare(db, QStringLiteral("INSERT INTO festa.sinais (caixa, nome, a_enviar, aberto, parado) "
                                   "VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(b.deskId);
    q.addBindValue(b.deskName.isNull() ? QStringLiteral("") : b.deskName);
    q.addBindValue(b.waiting);
    q.addBindValue(b.tillOpen);
    q.addBindValue(b.stopped.isNull() ? QStringLiteral("") : b.stopped);
    run(q);
}

QList<Claim> claims(QSqlDatabase& db, const QString& deskId) {
    QSqlQuery q =
        prepare(db, QStringLiteral("SELECT seq, hash, coalesce(vencedor, ''), coalesce(novo_id::text, "
                                   "'') FROM festa.copias WHERE caixa = ? ORDER BY seq, hash"));
    q.addBindValue(deskId);
    run(q);
    QList<Claim> out;
    while (q.next())
        out << Claim{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                     q.value(3).toString()};
    return out;
}

void registerCopy(QSqlDatabase& db, const QString& deskId, const Claim& c, const QString& deskName) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT festa.registrar_copia(?::uuid, ?, ?, ?)"));
    q.addBindValue(deskId);
    q.addBindValue(c.seq);
    q.addBindValue(c.hash);
    q.addBindValue(deskName.isNull() ? QStringLiteral("") : deskName);
    run(q);
    q.finish(); // the function's empty answer
}

void copyHeartbeat(QSqlDatabase& db, const QString& deskId, const Claim& c, const QString& deskName,
                   qint64 waiting) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT festa.sinal_copia(?::uuid, ?, ?, ?, ?)"));
    q.addBindValue(deskId);
    q.addBindValue(c.seq);
    q.addBindValue(c.hash);
    q.addBindValue(deskName.isNull() ? QStringLiteral("") : deskName);
    q.addBindValue(waiting);
    run(q);
    q.finish(); // the function's empty answer
}

void hold(QSqlDatabase& db, const QString& deskId, const QString& branch,
          const QList<FestaJournalStore::Row>& rows) {
    QSqlQuery q = prepare(db, QStringLiteral("INSERT INTO festa.retidos (caixa, ramo, seq, tipo, conteudo) "
                                             "VALUES (?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
    for (const FestaJournalStore::Row& r : rows) {
        q.bindValue(0, deskId);
        q.bindValue(1, branch.isNull() ? QStringLiteral("") : branch);
        q.bindValue(2, r.seq);
        q.bindValue(3, r.kind);
        q.bindValue(4, r.content);
        run(q);
    }
}

qint64 heldUpTo(QSqlDatabase& db, const QString& deskId, const QString& branch) {
    QSqlQuery q = prepare(
        db, QStringLiteral("SELECT coalesce(max(seq), 0) FROM festa.retidos WHERE caixa = ? AND ramo = ?"));
    q.addBindValue(deskId);
    q.addBindValue(branch.isNull() ? QStringLiteral("") : branch);
    run(q);
    const qint64 last = q.next() ? q.value(0).toLongLong() : 0;
    q.finish();
    return last;
}

int newestCatalogue(QSqlDatabase& db) {
    QSqlQuery q = prepare(db, QStringLiteral("SELECT coalesce(max(versao), 0) FROM festa.catalogo_versoes"));
    run(q);
    return q.next() ? q.value(0).toInt() : 0;
}

FestaCatalogue catalogue(QSqlDatabase& db, int version) {
    FestaCatalogue c;
    QSqlQuery texts =
        prepare(db, QStringLiteral("SELECT cabecalho, rodape FROM festa.catalogo_versoes WHERE versao = ?"));
    texts.addBindValue(version);
    run(texts);
    if (!texts.next()) return c;
    c.version = version;
    c.header = texts.value(0).toString();
    c.footer = texts.value(1).toString();
    QSqlQuery q = prepare(db, QStringLiteral("SELECT chave, produto, impresso, preco, fichas FROM "
                                             "festa.catalogo_produtos WHERE versao = ? ORDER BY chave"));
    q.addBindValue(version);
    run(q);
    while (q.next())
        c.products << FestaCatalogue::Product{q.value(0).toString(), q.value(1).toString(),
                                              q.value(2).toString(), q.value(3).toString(),
                                              q.value(4).toInt()};
    return c;
}

} // namespace FestaServerStore
