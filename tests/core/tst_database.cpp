// The database layer under the stores: opening the file, converting and checking what is typed,
// transactions.

#include "core/base/errors.h"
#include "core/creditbook/creditbookstore.h"
#include "core/db/database.h"
#include "core/till/tillstore.h"
#include "support/coresupport.h"

#include <QFile>

using namespace TestSupport;

namespace {

// The file opened as the program opens it at start-up.
void openAsTheProgram(const QString& path) {
    Database::checkWritableFile(path);
    Database db(path);
    db.checkWritable();
}

} // namespace

class TestDatabaseLayer : public QObject {
    Q_OBJECT

private slots:
    void missingOrGarbageFileIsRefusedAndNotCreated() {
        TestDatabase file;
        const QString missing = file.folder() + QStringLiteral("/nada/base.db");
        try {
            openAsTheProgram(missing);
            QFAIL("opened");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(missing));
        }
        QVERIFY(!QFile::exists(missing));
        const QString bad = file.folder() + QStringLiteral("/lixo.db");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("isto não é um banco de dados");
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, openAsTheProgram(bad));
    }

    // Product keys are matched without regard to letter case.
    void productKeysMatchWhateverTheLetterCase() {
        TestDatabase file;
        Database db(file.path());
        QCOMPARE(TillStore::productLine(db, QLatin1Char('A')).id, QStringLiteral("a"));
        QCOMPARE(TillStore::productLine(db, QLatin1Char('a')).id, QStringLiteral("a"));
    }

    // What the cashier types is text; it is stored as the column's type and read back as typed.
    void textIsConvertedIntoIntegerDateAndTimeColumns() {
        TestDatabase file;
        Database db(file.path());
        QCOMPARE(db.storable(QStringLiteral("tbl_prod_caderneta"), QStringLiteral("id_ligacao"),
                             QStringLiteral(" 7")),
                 QVariant(7));
        CreditBookStore::chargeItem(db, 7, QStringLiteral("D'ÁGUA"), QStringLiteral("2,5"),
                                    QStringLiteral("25/12/2026"), QStringLiteral("14:05:33"));
        QCOMPARE(
            file.rows("select id_ligacao, typeof(id_ligacao), produto, data, hora from tbl_prod_caderneta"),
            QList<QStringList>({{"7", "integer", "D'ÁGUA", "2026-12-25", "14:05:33"}}));
        const QList<ChargedItem> items = CreditBookStore::items(db, 7);
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].date, QStringLiteral("25/12/2026"));
        QCOMPARE(items[0].time, QStringLiteral("14:05:33"));
    }

    // A value the column cannot hold is refused with the column's message.
    void refusesUnconvertibleAndTooWideValues_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString mismatch =
            QStringLiteral("Tipo de dados incompatível: '%1' não pode ser gravado no campo '%2' de %3.");
        const QString wide = QString(30, QLatin1Char('X')) + QStringLiteral("🎉"); // an emoji is one
        QTest::newRow("text into integer") << "tbl_vendas"
                                           << "quantidade"
                                           << "muitos" << mismatch.arg("muitos", "quantidade", "tbl_vendas");
        QTest::newRow("beyond a 32-bit integer")
            << "tbl_vendas"
            << "quantidade"
            << "99999999999" << mismatch.arg("99999999999", "quantidade", "tbl_vendas");
        QTest::newRow("not a date") << "tbl_prod_caderneta"
                                    << "data"
                                    << "31/02/2026"
                                    << mismatch.arg("31/02/2026", "data", "tbl_prod_caderneta");
        QTest::newRow("not a time") << "tbl_prod_caderneta"
                                    << "hora"
                                    << "x" << mismatch.arg("x", "hora", "tbl_prod_caderneta");
        QTest::newRow("ticket text of 16")
            << "tbl_vendas"
            << "impresso"
            << "1234567890123456"
            << "O campo 'impresso' de tbl_vendas aceita no máximo 15 caracteres; o valor '1234567890123456' "
               "tem 16.";
        QTest::newRow("31 characters as seen")
            << "tbl_festa"
            << "cabecalho" << wide
            << QStringLiteral(
                   "O campo 'cabecalho' de tbl_festa aceita no máximo 30 caracteres; o valor '%1' tem 31.")
                   .arg(wide);
    }
    void refusesUnconvertibleAndTooWideValues() {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, message);
        TestDatabase file;
        Database db(file.path());
        try {
            db.storable(table, column, value);
            QFAIL("the value was accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), message);
        }
    }

    void transactionKeepsAllOrNothing() {
        TestDatabase file;
        file.exec("insert into tbl_caderneta(nome) values ('ANA')");
        file.exec("insert into tbl_prod_caderneta(id_ligacao, produto, valor) values (1, 'P', '1')");
        Database db(file.path());
        try {
            db.transaction([&] {
                db.execute(QStringLiteral("DELETE FROM tbl_prod_caderneta"));
                db.execute(QStringLiteral("DELETE FROM tbl_nada"));
            });
            QFAIL("committed");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(QStringLiteral("tbl_nada")));
        }
        QCOMPARE(file.scalar("select count(*) from tbl_prod_caderneta"), QStringLiteral("1"));
    }
};

QUORVANTA_CORE_TEST_MAIN(TestDatabaseLayer)
#include "tst_database.moc"
