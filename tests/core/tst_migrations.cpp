// Older files are brought to the program's schema with every row kept; a newer one is refused whole.
#include "core/base/errors.h"
#include "core/db/database.h"
#include "core/db/migrations.h"
#include "core/db/sqlscript.h"
#include "support/coresupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace TestSupport;

namespace {

// A file made by running a script, as an earlier version left it.
QString fileFrom(const QTemporaryDir& dir, const QString& script, const QStringList& more = {}) {
    const QString path = dir.filePath(QStringLiteral("base.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(path);
        if (!db.open()) qFatal("cannot make %s", qPrintable(path));
        QStringList all = SqlScript::statements(script);
        all << more;
        for (const QString& st : std::as_const(all))
            if (!st.trimmed().isEmpty()) QSqlQuery(db).exec(st);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    return path;
}

QByteArray hashOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestMigrations : public QObject {
    Q_OBJECT

private slots:
    // The delivered 3.0 file with rows of its own, one an earlier version had given its till tables
    // (but not the history ones) with a till open in them, and one whose print journal holds a document
    // left in doubt while it was sent, from before documents were marked as being sent.
    void olderFilesKeepEveryRow_data() {
        QTest::addColumn<QStringList>("earlier");
        QTest::newRow("delivered 3.0") << QStringList{};
        QTest::newRow("till tables, no history") << QStringList{
            "CREATE TABLE tbl_caixa_atual (id INTEGER PRIMARY KEY CHECK (id = 1), aberto INTEGER "
            "NOT NULL, numero INTEGER NOT NULL, responsavel TEXT NOT NULL, operador TEXT NOT NULL, "
            "data TEXT NOT NULL, hora TEXT NOT NULL, entrada TEXT NOT NULL, em_caixa TEXT NOT "
            "NULL, sangria TEXT NOT NULL, sangrias INTEGER NOT NULL, fichas_impressas INTEGER NOT "
            "NULL DEFAULT 0)",
            "INSERT INTO tbl_caixa_atual VALUES (1, 1, 7, 'MARIA', 'JOSE', '09/12/2026', "
            "'13:00:00', '50', '62,50', '0,00', 0, 0)",
            "CREATE TABLE tbl_caixa_fichas (id TEXT PRIMARY KEY, fichas INTEGER NOT NULL)",
            "INSERT INTO tbl_caixa_fichas VALUES ('3', 2)"};
        QTest::newRow("a document in doubt") << QStringList{
            "CREATE TABLE tbl_impressoes (seq INTEGER PRIMARY KEY AUTOINCREMENT, documento TEXT NOT NULL "
            "UNIQUE, tipo TEXT NOT NULL, descricao TEXT NOT NULL, passo TEXT NOT NULL, rota TEXT NOT NULL, "
            "estado TEXT NOT NULL, destino TEXT NOT NULL DEFAULT '', trabalho INTEGER NOT NULL DEFAULT 0, "
            "momento TEXT NOT NULL)",
            "CREATE INDEX ix_impressoes_estado ON tbl_impressoes (estado)",
            "INSERT INTO tbl_impressoes (documento, tipo, descricao, passo, rota, estado, momento) VALUES "
            "('ficha-1', 'ficha', 'A ficha 1 de PASTEL', '{}', 'escpos:10.0.0.9:9100', 'pendente', '')"};
    }
    void olderFilesKeepEveryRow() {
        QFETCH(QStringList, earlier);
        QTemporaryDir dir;
        const QString path =
            fileFrom(dir, QFINDTESTDATA("data/delivered-3.0.sql"),
                     earlier + QStringList{"INSERT INTO tbl_caderneta(nome) VALUES ('ANA')",
                                           "UPDATE tbl_produtos SET produto = 'SUCO' WHERE id = '9'",
                                           "INSERT INTO tbl_cont_vendas(id, produto, valor, "
                                           "quantidade) VALUES ('3', 'PASTEL', '7,50', 2)"});
        {
            Database db(path); // migrates
            Q_UNUSED(db);
        }
        TestDatabase fresh; // the whole schema as this version delivers it
        const auto tablesOf = [](const TestDatabase* t, const QString& p) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
            db.setDatabaseName(t ? t->path() : p);
            db.open();
            QStringList names;
            QSqlQuery q(QStringLiteral("SELECT type || ' ' || name FROM sqlite_master WHERE name NOT LIKE "
                                       "'sqlite_%' ORDER BY 1"),
                        db);
            while (q.next())
                names << q.value(0).toString();
            QSqlQuery v(QStringLiteral("PRAGMA user_version"), db);
            v.next();
            names << QStringLiteral("version %1").arg(v.value(0).toInt());
            db.close();
            return names;
        };
        QStringList migrated = tablesOf(nullptr, path);
        QSqlDatabase::removeDatabase(QStringLiteral("look"));
        QStringList delivered = tablesOf(&fresh, QString());
        QSqlDatabase::removeDatabase(QStringLiteral("look"));
        QCOMPARE(migrated, delivered);
        QVERIFY(migrated.contains(QStringLiteral("version %1").arg(Migrations::latest())));

        // the rows it had are there, as they were
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(path);
        db.open();
        const auto scalar = [&db](const QString& sql) {
            QSqlQuery q(sql, db);
            return q.next() ? q.value(0).toString() : QString();
        };
        QCOMPARE(scalar(QStringLiteral("SELECT nome FROM tbl_caderneta")), QStringLiteral("ANA"));
        QCOMPARE(scalar(QStringLiteral("SELECT produto FROM tbl_produtos WHERE id = '9'")),
                 QStringLiteral("SUCO"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM tbl_produtos")), QStringLiteral("20"));
        QCOMPARE(scalar(QStringLiteral("SELECT quantidade FROM tbl_cont_vendas")), QStringLiteral("2"));
        const QString tables = earlier.join(QLatin1Char(' '));
        if (tables.contains(QLatin1String("tbl_impressoes"))) // still in doubt: the cashier is asked
            QCOMPARE(scalar(QStringLiteral("SELECT estado FROM tbl_impressoes")), QStringLiteral("enviando"));
        if (tables.contains(QLatin1String("tbl_caixa_atual"))) {
            QCOMPARE(scalar(QStringLiteral("SELECT em_caixa FROM tbl_caixa_atual")), QStringLiteral("62,50"));
            QCOMPARE(scalar(QStringLiteral("SELECT fichas FROM tbl_caixa_fichas WHERE id = '3'")),
                     QStringLiteral("2"));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    }

    void newerFileIsRefusedAndLeftAlone() {
        QTemporaryDir dir;
        const QString path =
            fileFrom(dir, QFINDTESTDATA("data/delivered-3.0.sql"),
                     {QStringLiteral("PRAGMA user_version = %1").arg(Migrations::latest() + 1)});
        const QByteArray was = hashOf(path);
        try {
            Database db(path);
            QFAIL("a newer file was opened");
        } catch (const DbError& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("versão mais nova do programa")));
        }
        QCOMPARE(hashOf(path), was);
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
    }
};

QUORVANTA_CORE_TEST_MAIN(TestMigrations)
#include "tst_migrations.moc"
