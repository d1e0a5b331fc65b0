#include "core/base/errors.h"
#include "core/creditbook/creditbookstore.h"
#include "core/db/datamodule.h"
#include "support/coresupport.h"

using namespace TestSupport;

class TestDataset : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<DataModule> dm;

private slots:
    void init() {
        db = std::make_unique<TestDatabase>();
        dm = std::make_unique<DataModule>(db->path());
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

    // Field names are matched without regard to letter case.
    void namesMatchWhateverTheLetterCase() {
        QCOMPARE(dm->q_config->asString("PRODUTO"), dm->q_config->asString("produto"));
        QVERIFY(dm->q_config->hasField(QStringLiteral("Id_Relaciona")));
    }

    // Dates, times and integers are shown back as typed.
    void integerDateAndTimeColumnsShowAsTyped() {
        CreditBookStore::chargeItem(dm->database(), 7, QStringLiteral("D'ÁGUA"), QStringLiteral("2,5"),
                                    QStringLiteral("25/12/2026"), QStringLiteral("14:05:33"));
        Dataset* q = dm->q_prod_cad;
        q->close();
        q->open();
        QCOMPARE(q->recordCount(), 1);
        QCOMPARE(q->asString("data"), QStringLiteral("25/12/2026"));
        QCOMPARE(q->asString("hora"), QStringLiteral("14:05:33"));
        QCOMPARE(q->asInteger("id_ligacao"), 7);
    }

    void postOnAPartialSelectWritesTheTable() {
        Dataset* q = dm->q_cont_vendas;
        q->setQuery(QStringLiteral("SELECT * FROM tbl_cont_vendas WHERE id = :id"),
                    QStringLiteral("tbl_cont_vendas"), {{QStringLiteral("id"), QStringLiteral("1")}});
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
        c->setQuery(QStringLiteral("SELECT cont FROM tbl_cont"), QStringLiteral("tbl_cont"));
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

    void boundValueSetsTheCounter() {
        Dataset* q = dm->q_cont;
        q->setQuery(QStringLiteral("UPDATE tbl_cont SET cont = :cont"), QString(),
                    {{QStringLiteral("cont"), 8}});
        q->execSql();
        QVERIFY(!q->isActive());
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
        q->setQuery(QStringLiteral("SELECT * FROM tbl_caderneta ORDER BY nome ASC"),
                    QStringLiteral("tbl_caderneta"));
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
        q->setQuery(QStringLiteral("SELECT * FROM tbl_produtos ORDER BY id ASC"),
                    QStringLiteral("tbl_produtos"));
        q->open();
        int n = 0;
        for (q->first(); !q->eof(); q->next())
            ++n;
        QCOMPARE(n, 20);
        QCOMPARE(q->asString("id"), QStringLiteral("j")); // next past the end stays on the last row
        Dataset* p = dm->q_prod_cad;
        p->open();
        p->remove(); // nothing to delete
        QCOMPARE(p->recordCount(), 0);
    }

    void badStatementFailsWithTheEngineMessage() {
        Dataset* q = dm->q_config;
        q->setQuery(QStringLiteral("SELECT * FROM tbl_nada"), QString());
        try {
            q->open();
            QFAIL("opened");
        } catch (const DbError& e) {
            QVERIFY(e.text().contains(QStringLiteral("tbl_nada")));
        }
        QVERIFY(!q->isActive());
    }
};

QUORVANTA_CORE_TEST_MAIN(TestDataset)
#include "tst_dataset.moc"
