#include "foundation/errors.h"
#include "foundation/jetsql.h"
#include "foundation/u_dm.h"
#include "support/testsupport.h"

using namespace TestSupport;

class TestDataset : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Tdm> dm;

private slots:
    void init() {
        db = std::make_unique<TestDatabase>();
        dm = std::make_unique<Tdm>(db->path());
    }
    void cleanup() {
        dm.reset();
        db.reset();
    }

    void opensEveryDatasetWithItsDeclaredFields() {
        // all but the till tally, which may hold a whole festa's sales and is never read whole
        for (Dataset* d : dm->datasets())
            QVERIFY2(d->isActive() == (d != dm->q_cont_vendas), qPrintable(d->name()));
        QCOMPARE(dm->q_config->recordCount(), 20);
        QStringList fields;
        for (int i = 0; i < dm->q_config->fieldCount(); ++i)
            fields << dm->q_config->fieldName(i);
        QCOMPARE(fields,
                 QStringList({"produto", "impresso", "valor", "quantidade", "bt", "id", "id_relaciona"}));
        QCOMPARE(dm->q_cont->fieldName(0), QStringLiteral("cont"));
    }

    void missingFileIsRefusedAndNotCreated() {
        const QString missing = db->folder() + QStringLiteral("/nada/base.db");
        QVERIFY_THROWS_EXCEPTION(DbError, Tdm{missing});
        QVERIFY(!QFile::exists(missing));
        try {
            Tdm t(missing);
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(missing));
        }
    }

    void garbageFileIsRefused() {
        const QString bad = db->folder() + QStringLiteral("/lixo.db");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("isto não é um banco de dados");
        f.close();
        QVERIFY_THROWS_EXCEPTION(DbError, Tdm{bad});
    }

    void deleteStarWithAndWithoutWhere() {
        Dataset* q = dm->q_vendas;
        for (const char* id : {"1", "2", "2"})
            db->exec(QStringLiteral("insert into tbl_vendas(id, produto) values ('%1', 'X')")
                         .arg(QLatin1String(id)));
        q->setSql(QStringLiteral("delete * from tbl_vendas where id like '2'"));
        q->execSql();
        QCOMPARE(db->scalar("select count(*) from tbl_vendas"), QStringLiteral("1"));
        q->setSql(QStringLiteral("delete * from tbl_vendas"));
        q->execSql();
        QCOMPARE(db->scalar("select count(*) from tbl_vendas"), QStringLiteral("0"));
        QVERIFY(!q->isActive());
    }

    void doubleQuotedLiteralsAreStringsNotColumns() {
        // "produto" would name a column in SQLite; in these statements it is a text.
        db->exec("update tbl_produtos set produto = 'produto' where id = '3'");
        Dataset* q = dm->q_config;
        q->setSql(QStringLiteral("select * from tbl_produtos where produto like \"produto\""));
        q->open();
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->asString("id"), QStringLiteral("3"));
        q->setSql(QStringLiteral("select * from tbl_produtos where id like \"1\""));
        q->open();
        QCOMPARE(q->asString("produto"), QStringLiteral("REFRIGERANTE"));
    }

    void likeWithoutWildcardIsCaseInsensitiveEquality() {
        Dataset* q = dm->q_config;
        q->setSql(QStringLiteral("select * from tbl_produtos where id like 'A'"));
        q->open();
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->asString("id"), QStringLiteral("a"));
        // no partial match, and SQL wildcards are plain characters
        db->exec("update tbl_produtos set produto = 'A_B' where id = '6'");
        db->exec("update tbl_produtos set produto = 'AXB' where id = '7'");
        q->setSql(QStringLiteral("select * from tbl_produtos where produto like 'a_b'"));
        q->open();
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->asString("id"), QStringLiteral("6"));
        q->setSql(QStringLiteral("select * from tbl_produtos where produto like 'A'"));
        q->open();
        QCOMPARE(q->recordCount(), 0);
    }

    void likeOnIntegerColumnMatchesDigitsExactly() {
        for (int id : {1, 12, 1, 21})
            db->exec(
                QStringLiteral(
                    "insert into tbl_prod_caderneta(id_ligacao, produto, valor) values (%1, 'P', '1,00')")
                    .arg(id));
        Dataset* q = dm->q_prod_cad;
        q->setSql(QStringLiteral("select * from tbl_prod_caderneta where id_ligacao like'1'"));
        q->open();
        QCOMPARE(q->recordCount(), 2);
        q->setSql(QStringLiteral("delete * from tbl_prod_caderneta where id_ligacao like '12' "));
        q->execSql();
        QCOMPARE(db->scalar("select count(*) from tbl_prod_caderneta"), QStringLiteral("3"));
    }

    void notEmptyFilterSkipsNullAndEmptyInIdOrder() {
        db->exec("update tbl_produtos set produto = NULL where id = '5'");
        Dataset* q = dm->q_config;
        q->setSql(QStringLiteral("select * from tbl_produtos where produto <> '' order by id asc"));
        q->open();
        QStringList ids;
        for (q->first(); !q->eof(); q->next())
            ids << q->asString("id");
        QCOMPARE(ids, QStringList({"0", "1", "2", "3", "4"}));
    }

    void textLiteralsConvertIntoIntegerAndDateColumns() {
        Dataset* q = dm->q_prod_cad;
        q->setSql(
            QStringLiteral("Insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, hora) values "
                           "('7','D''ÁGUA','2,5','25/12/2026','14:05:33')"));
        q->execSql();
        QCOMPARE(
            db->rows("select id_ligacao, typeof(id_ligacao), produto, data, hora from tbl_prod_caderneta"),
            QList<QStringList>({{"7", "integer", "D'ÁGUA", "2026-12-25", "14:05:33"}}));
        q->setSql(QStringLiteral("select * from tbl_prod_caderneta"));
        q->open();
        QCOMPARE(q->asString("data"), QStringLiteral("25/12/2026"));
        QCOMPARE(q->asString("hora"), QStringLiteral("14:05:33"));
        QCOMPARE(q->asInteger("id_ligacao"), 7);
    }

    void refusesUnconvertibleAndTooWideValues_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("text into integer")
            << "Insert into tbl_vendas(id, produto, valor, quantidade, impresso, id_relacionamento) values "
               "('1','X','1,00','muitos','X','1')";
        QTest::newRow("not a date") << "Insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, "
                                       "hora) values ('1','X','1','','10:00:00')";
        QTest::newRow("not a time") << "Insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, "
                                       "hora) values ('1','X','1','01/01/2026','x')";
        QTest::newRow("ticket text of 16")
            << "Insert into tbl_vendas(id, produto, valor, quantidade, impresso, id_relacionamento) values "
               "('1','X','1,00','1','1234567890123456','1')";
        QTest::newRow("beyond a 32-bit integer")
            << "Insert into tbl_vendas(id, produto, valor, quantidade, impresso, id_relacionamento) values "
               "('1','X','1,00','99999999999','X','1')";
        QTest::newRow("update too wide")
            << "update tbl_festa set cabecalho = '1234567890123456789012345678901'";
    }
    void refusesUnconvertibleAndTooWideValues() {
        QFETCH(QString, sql);
        Dataset* q = dm->q_vendas;
        q->setSql(sql);
        try {
            q->execSql();
            QFAIL("the statement was accepted");
        } catch (const DbError& e) {
            QVERIFY(!e.text().isEmpty());
        }
        QCOMPARE(db->scalar("select count(*) from tbl_vendas"), QStringLiteral("0"));
        QCOMPARE(db->scalar("select count(*) from tbl_prod_caderneta"), QStringLiteral("0"));
        QCOMPARE(db->scalar("select cabecalho from tbl_festa"), QStringLiteral("FESTA DA COMUNIDADE"));
    }

    void postOnAPartialSelectWritesTheTable() {
        Dataset* q = dm->q_cont_vendas;
        q->setSql(QStringLiteral("select * from tbl_cont_vendas where id like \"1\""));
        q->open();
        QCOMPARE(q->recordCount(), 0);
        q->append();
        q->setValue("id", "2");
        q->setValue("produto", "CERVEJA");
        q->setValue("quantidade", "3");
        q->post();
        QCOMPARE(db->rows("select id, produto, quantidade from tbl_cont_vendas"),
                 QList<QStringList>({{"2", "CERVEJA", "3"}}));

        // a select of one column still edits its row
        Dataset* c = dm->q_cont;
        c->setSql(QStringLiteral("select cont from tbl_cont"));
        c->open();
        c->edit();
        c->setValue("cont", 41);
        c->post();
        QCOMPARE(db->scalar("select cont from tbl_cont"), QStringLiteral("41"));
    }

    void editOnEmptyResultStartsANewRow() {
        db->exec("delete from tbl_base");
        Dataset* q = dm->q_base;
        q->close();
        q->open();
        QVERIFY(q->isEmpty());
        q->edit();
        QCOMPARE(q->state(), Dataset::State::Insert);
        q->setValue("ultcaixa", "linha 1\r\nlinha 2\r\n");
        q->post();
        QCOMPARE(db->scalar("select count(*) from tbl_base"), QStringLiteral("1"));
        QCOMPARE(db->scalar("select ultcaixa from tbl_base"), QStringLiteral("linha 1\r\nlinha 2\r\n"));
    }

    // A row deleted by another program while shown is written again whole on post, not lost in silence.
    void rowRemovedBehindIsWrittenAgain() {
        Dataset* q = dm->q_festa;
        db->exec("delete from tbl_festa");
        q->setValue("rodape", "Volte sempre");
        q->post();
        QCOMPARE(
            db->rows("select cabecalho, rodape from tbl_festa"),
            (QList<QStringList>{{QStringLiteral("FESTA DA COMUNIDADE"), QStringLiteral("Volte sempre")}}));
        q->setValue("cabecalho", "QUERMESSE"); // the row it now stands on
        q->post();
        QCOMPARE(db->scalar("select count(*) || cabecalho from tbl_festa"), QStringLiteral("1QUERMESSE"));
    }

    void contParameterSetsTheCounter() {
        Dataset* q = dm->q_cont;
        q->setSql(QStringLiteral("update tbl_cont set cont =:cont"));
        q->setParam("cont", 8);
        q->execSql();
        QCOMPARE(db->scalar("select cont from tbl_cont"), QStringLiteral("8"));
    }

    void cancelDropsAnUnpostedRowAndCloseDropsAnEdit() {
        Dataset* q = dm->q_caderneta;
        q->append();
        q->setValue("nome", "ANA");
        q->cancel();
        QCOMPARE(q->recordCount(), 0);
        q->append();
        q->setValue("nome", "BIA");
        q->setSql(QStringLiteral("select * from tbl_caderneta order by nome asc"));
        q->open();
        QCOMPARE(q->recordCount(), 0);
        QCOMPARE(db->scalar("select count(*) from tbl_caderneta"), QStringLiteral("0"));
    }

    void uniqueNameIsRefusedAndTheRowStaysPending() {
        Dataset* q = dm->q_caderneta;
        q->append();
        q->setValue("nome", "ANA");
        q->post();
        QVERIFY(q->asInteger("id") > 0);
        q->append();
        q->setValue("nome", "ANA");
        QVERIFY_THROWS_EXCEPTION(DbError, q->post());
        QCOMPARE(q->state(), Dataset::State::Insert);
        QCOMPARE(q->asString("nome"), QStringLiteral("ANA"));
        q->cancel();
        QCOMPARE(db->scalar("select count(*) from tbl_caderneta"), QStringLiteral("1"));
    }

    void walkingRowsAndDeleting() {
        Dataset* q = dm->q_config;
        q->setSql(QStringLiteral("select * from tbl_produtos order by id asc"));
        q->open();
        int n = 0;
        for (q->first(); !q->eof(); q->next())
            ++n;
        QCOMPARE(n, 20);
        QCOMPARE(q->asString("id"), QStringLiteral("j")); // next past the end stays on the last row
        Dataset* p = dm->q_prod_cad;
        p->setSql(QStringLiteral("select * from tbl_prod_caderneta"));
        p->open();
        p->remove(); // nothing to delete
        QCOMPARE(p->recordCount(), 0);
    }

    void badStatementFailsWithTheEngineMessage() {
        Dataset* q = dm->q_config;
        q->setSql(QStringLiteral("select * from tbl_nada"));
        try {
            q->open();
            QFAIL("opened");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(QStringLiteral("tbl_nada")));
        }
        QVERIFY(!q->isActive());
    }

    void quotedLiteral() { QCOMPARE(JetSql::quoted(QStringLiteral("D'ÁGUA")), QStringLiteral("'D''ÁGUA'")); }

    void transactionKeepsAllOrNothing() {
        db->exec("insert into tbl_caderneta(nome) values ('ANA')");
        db->exec("insert into tbl_prod_caderneta(id_ligacao, produto, valor) values (1, 'P', '1')");
        try {
            dm->database().transaction([&] {
                dm->q_prod_cad->setSql(
                    QStringLiteral("delete * from tbl_prod_caderneta where id_ligacao like '1' "));
                dm->q_prod_cad->execSql();
                dm->q_caderneta->setSql(QStringLiteral("delete * from tbl_nada"));
                dm->q_caderneta->execSql();
            });
            QFAIL("committed");
        } catch (const DbError&) {
        }
        QCOMPARE(db->scalar("select count(*) from tbl_prod_caderneta"), QStringLiteral("1"));
    }
};

QUORVANTA_TEST_MAIN(TestDataset)
#include "tst_dataset.moc"
