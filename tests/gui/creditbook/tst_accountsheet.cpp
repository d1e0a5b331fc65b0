// The account sheet: summing, marking, removing an item and closing an account.

#include "creditbookdriver.h"

#include "gui/common/passwordprompt.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>

using namespace TestSupport;
using namespace CreditBook;

namespace {
const QString admin = QStringLiteral("ADMIN"); // the delivered administrator password
const QString removal = QStringLiteral("f_s_prodm");
const QString closing = QStringLiteral("f_s_caderneta");
const QString confirmation = QStringLiteral("f_conf_fechamento");
} // namespace

class TestAccountSheet : public QObject {
    Q_OBJECT

    // ANA (id 1) owes 30,00 + 7,50; BETO (id 12) two beers.
    static void twoAccounts(const App& app) {
        app.db.exec(QStringLiteral("insert into tbl_caderneta(id, nome) values (1, 'ANA'), (12, 'BETO')"));
        app.db.exec(
            QStringLiteral("insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, hora) values "
                           "(1, 'CHURRASCO', '30,00', '2026-12-08', '19:00:00'),"
                           "(12, 'CERVEJA', '6,00', '2026-12-08', '19:01:00'),"
                           "(1, 'PASTEL', '7,50', '2026-12-08', '19:02:00'),"
                           "(12, 'CERVEJA', '6,00', '2026-12-08', '19:03:00')"));
    }

    static QString count(const App& app, const QString& where) {
        return app.db.scalar(QStringLiteral("select count(*) from tbl_prod_caderneta where ") + where);
    }

    // The sheet of a new account, CLARA, without items.
    static bool onNewAccount(App& app, std::function<void(AccountSheet*)> body) {
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('CLARA')"));
        bool ran = false;
        const bool listed = inList(app, [&](CreditBookWindow* list) {
            const int row = int(
                column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0).indexOf(QStringLiteral("CLARA")));
            ran = inSheet(list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), row), body);
        });
        return listed && ran;
    }

    static void mark(AccountSheet* sheet, int productRow, int times = 1) {
        click(child<RowGrid>(sheet, QStringLiteral("DBGrid2")), productRow);
        for (int i = 0; i < times; ++i)
            click(child<QPushButton>(sheet, QStringLiteral("SpeedButton1")));
    }

private slots:
    void sheetShowsOnlyItsAccountAndClosingKeepsTheOthers() {
        App app;
        twoAccounts(app);
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QVERIFY(inSheet(
                list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0), [&](AccountSheet* sheet) {
                    QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                             QStringLiteral("ANA"));
                    QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                             QStringList({"CHURRASCO", "PASTEL"}));
                    QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                             QStringLiteral("37,50"));
                    // the last item is the selected one
                    QCOMPARE(child<RowGrid>(sheet, QStringLiteral("DBGrid1"))->currentIndex().row(), 1);

                    whenShown<AccountClosingDialog>(confirmation, [&](AccountClosingDialog* c) {
                        QCOMPARE(child<QLabel>(c, QStringLiteral("lnome"))->text(), QStringLiteral("ANA"));
                        QCOMPARE(child<QLabel>(c, QStringLiteral("lvalor"))->text(), QStringLiteral("37,50"));
                        click(child<QPushButton>(c, QStringLiteral("SpeedButton1")));
                        QVERIFY(!c->isVisible());
                    });
                    withPassword(closing, admin,
                                 [&] { child<QAction>(sheet, QStringLiteral("FecharFicha1"))->trigger(); });
                    QVERIFY(!sheet->isVisible());
                }));
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0), QStringList({"BETO"}));
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select group_concat(nome) from tbl_caderneta")),
                 QStringLiteral("BETO"));
        QCOMPARE(count(app, QStringLiteral("id_ligacao = 1")), QStringLiteral("0"));
        QCOMPARE(count(app, QStringLiteral("id_ligacao = 12")), QStringLiteral("2"));
        QVERIFY(!app.app->f_s_caderneta->isVisible());
    }

    void cancelledClosingKeepsAccountAndItems() {
        App app;
        twoAccounts(app);
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QVERIFY(inSheet(
                list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 1), [&](AccountSheet* sheet) {
                    QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                             QStringLiteral("BETO"));
                    QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                             QStringLiteral("12,00"));
                    whenShown<AccountClosingDialog>(confirmation, [&](AccountClosingDialog* c) {
                        QCOMPARE(child<QLabel>(c, QStringLiteral("lnome"))->text(), QStringLiteral("BETO"));
                        QCOMPARE(child<QLabel>(c, QStringLiteral("lvalor"))->text(), QStringLiteral("12,00"));
                        click(child<QPushButton>(c, QStringLiteral("SpeedButton2")));
                    });
                    withPassword(closing, QStringLiteral("admin"),
                                 [&] { child<QAction>(sheet, QStringLiteral("FecharFicha1"))->trigger(); });
                    QVERIFY(sheet->isVisible());
                    QVERIFY(!app.app->f_s_caderneta->isVisible());
                    QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                             QStringLiteral("BETO"));
                    QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                             QStringLiteral("12,00"));
                }));
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_caderneta")), QStringLiteral("2"));
        QCOMPARE(count(app, QStringLiteral("1")), QStringLiteral("4"));
        QVERIFY(app.messages.messages.isEmpty());
    }

    void closingIsAllOrNothing() {
        App app;
        twoAccounts(app);
        // the account's deletion fails after its items were deleted
        app.db.exec(QStringLiteral("create trigger keep before delete on tbl_caderneta "
                                   "begin select raise(abort, 'Falha simulada ao excluir a conta'); end"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QVERIFY(inSheet(
                list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0), [&](AccountSheet* sheet) {
                    whenShown<AccountClosingDialog>(confirmation, [&](AccountClosingDialog* c) {
                        click(child<QPushButton>(c, QStringLiteral("SpeedButton1")));
                        QCOMPARE(app.messages.last(), QStringLiteral("Falha simulada ao excluir a conta"));
                        QVERIFY(c->isVisible());
                        QCOMPARE(count(app, QStringLiteral("id_ligacao = 1")), QStringLiteral("2"));
                        click(child<QPushButton>(c, QStringLiteral("SpeedButton2")));
                    });
                    withPassword(closing, admin,
                                 [&] { child<QAction>(sheet, QStringLiteral("FecharFicha1"))->trigger(); });
                    // the sheet still shows its account and items
                    QVERIFY(sheet->isVisible());
                    QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                             QStringLiteral("ANA"));
                    QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                             QStringLiteral("37,50"));
                }));
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_caderneta")), QStringLiteral("2"));
        QCOMPARE(count(app, QStringLiteral("1")), QStringLiteral("4"));
    }

    void markingChargesCopiesWithDateAndTime() {
        App app;
        QVERIFY(onNewAccount(app, [&](AccountSheet* sheet) {
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("0,00"));
            // the products sold: those with a name, in key order
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid2")), 0),
                     QStringList({"ÁGUA", "REFRIGERANTE", "CERVEJA", "PASTEL", "CACHORRO-QUENTE", "PIPOCA"}));
            // marked before the clock's first tick
            QVERIFY(child<QTimer>(sheet, QStringLiteral("Timer1"))->remainingTime() > 500);
            mark(sheet, 2, 3); // CERVEJA 6,00
            QCOMPARE(app.messages.texts(), QStringList());
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                     QStringList({"CERVEJA", "CERVEJA", "CERVEJA"}));
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 1),
                     QStringList({"6,00", "6,00", "6,00"}));
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 2),
                     QStringList({"09/12/2026", "09/12/2026", "09/12/2026"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("18,00"));
            mark(sheet, 3); // PASTEL 7,50
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("25,50"));
            QCOMPARE(child<RowGrid>(sheet, QStringLiteral("DBGrid1"))->currentIndex().row(), 3);

            // a new price does not touch what was charged
            app.db.exec(QStringLiteral("update tbl_produtos set valor = '9,00' where id = '2'"));
            click(child<QPushButton>(sheet, QStringLiteral("SpeedButton3"))); // "Sair"
        }));
        QCOMPARE(
            app.db.rows(QStringLiteral("select distinct id_ligacao, data, hora from tbl_prod_caderneta")),
            QList<QStringList>({{"1", "2026-12-09", "14:05:33"}}));
        QCOMPARE(app.db.scalar(QStringLiteral("select valor from tbl_produtos where id = '2'")),
                 QStringLiteral("9,00"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QVERIFY(inSheet(list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                            [&](AccountSheet* sheet) {
                                QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 1),
                                         QStringList({"6,00", "6,00", "6,00", "7,50"}));
                                QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                                         QStringLiteral("25,50"));
                            }));
        }));
    }

    void quotesInANameAreStoredExactly() {
        App app;
        app.db.exec(QStringLiteral(
            "update tbl_produtos set produto = 'PINGO D''ÁGUA', valor = '1,5' where id = '6'"));
        QVERIFY(onNewAccount(app, [&](AccountSheet* sheet) {
            mark(sheet, 6);
            QCOMPARE(app.messages.texts(), QStringList());
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                     QStringList({"PINGO D'ÁGUA"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("1,50"));
        }));
        QCOMPARE(app.db.rows(QStringLiteral("select produto, valor from tbl_prod_caderneta")),
                 QList<QStringList>({{"PINGO D'ÁGUA", "1,5"}}));
    }

    void aTextThatIsNoDateIsRefused() {
        App app;
        QVERIFY(onNewAccount(app, [&](AccountSheet* sheet) {
            mark(sheet, 0);
            child<QLabel>(sheet, QStringLiteral("l_data"))->setText(QStringLiteral("31/02/2026"));
            click(child<QPushButton>(sheet, QStringLiteral("SpeedButton1")));
            QCOMPARE(app.messages.messages.size(), 1);
            QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Error);
            // the sheet goes on showing what is stored
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0), QStringList({"ÁGUA"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("2,00"));
            child<QLabel>(sheet, QStringLiteral("l_hora"))->setText(QStringLiteral("25:00:00"));
            child<QLabel>(sheet, QStringLiteral("l_data"))->setText(QStringLiteral("09/12/2026"));
            click(child<QPushButton>(sheet, QStringLiteral("SpeedButton1")));
            QCOMPARE(app.messages.messages.size(), 2);
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_prod_caderneta")),
                 QStringLiteral("1"));
    }

    void removingTakesTheSelectedOrTheLastItem() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(id, nome) values (12, 'BETO')"));
        app.db.exec(
            QStringLiteral("insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, hora) values "
                           "(12, 'CERVEJA', '6,00', '2026-12-08', '19:01:00')"));
        QVERIFY(onNewAccount(app, [&](AccountSheet* sheet) {
            // with no item, the correct password deletes nothing
            withPassword(removal, admin,
                         [&] { click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2"))); });
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("0,00"));
            QCOMPARE(count(app, QStringLiteral("1")), QStringLiteral("1"));

            mark(sheet, 0); // ÁGUA 2,00
            mark(sheet, 1); // REFRIGERANTE 4,00
            mark(sheet, 2); // CERVEJA 6,00
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("12,00"));

            // a wrong password removes nothing
            withPassword(removal, QStringLiteral("errada"),
                         [&] { click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2"))); });
            QCOMPARE(app.messages.last(), QStringLiteral("Senha inválida!"));
            QCOMPARE(child<RowGrid>(sheet, QStringLiteral("DBGrid1"))->model()->rowCount(), 3);

            // nothing picked: the last item listed goes
            withPassword(removal, admin,
                         [&] { click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2"))); });
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                     QStringList({"ÁGUA", "REFRIGERANTE"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("6,00"));

            // the picked item goes
            click(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0);
            withPassword(removal, admin,
                         [&] { click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2"))); });
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                     QStringList({"REFRIGERANTE"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("4,00"));

            withPassword(removal, admin,
                         [&] { click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2"))); });
            QCOMPARE(child<RowGrid>(sheet, QStringLiteral("DBGrid1"))->model()->rowCount(), 0);
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("0,00"));
        }));
        QCOMPARE(count(app, QStringLiteral("1")), QStringLiteral("1"));
        QCOMPARE(count(app, QStringLiteral("id_ligacao = 12")), QStringLiteral("1"));
    }

    void sheetSumsAgainWhenAPromptReturns() {
        App app;
        QVERIFY(onNewAccount(app, [&](AccountSheet* sheet) {
            whenShown<QWidget>(removal, [&](QWidget* prompt) {
                app.db.exec(
                    QStringLiteral("insert into tbl_prod_caderneta(id_ligacao, produto, valor, data, hora) "
                                   "values (1, 'PIPOCA', '3,00', '2026-12-09', '14:00:00')"));
                click(prompt->findChild<QPushButton*>(QStringLiteral("SpeedButton2"))); // "Cancelar"
            });
            click(child<QPushButton>(sheet, QStringLiteral("SpeedButton2")));
            QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0), QStringList({"PIPOCA"}));
            QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("3,00"));
        }));
    }

    void aValueThatIsNoNumberStopsTheSum() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(id, nome) values (1, 'ANA')"));
        app.db.exec(QStringLiteral("insert into tbl_prod_caderneta(id_ligacao, produto, valor) values "
                                   "(1, 'A', '2,50'), (1, 'B', 'dois'), (1, 'C', '3,00')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QVERIFY(inSheet(list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                            [&](AccountSheet* sheet) {
                                QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                                         QStringLiteral("2,50"));
                                QVERIFY(!app.messages.messages.isEmpty());
                                QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Error);
                            }));
        }));
    }
};

QUORVANTA_TEST_MAIN(TestAccountSheet)
#include "tst_accountsheet.moc"
