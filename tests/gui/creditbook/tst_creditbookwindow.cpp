// The account list and the opening of an account.

#include "creditbookdriver.h"
#include "gui/creditbook/accountopeningdialog.h"
#include <QLineEdit>

using namespace TestSupport;
using namespace CreditBook;

class TestCreditBookWindow : public QObject {
    Q_OBJECT

    static QString accountNames(const App& app) {
        QStringList names;
        for (const QStringList& r : app.db.rows(QStringLiteral("select nome from tbl_caderneta order by id")))
            names << r.first();
        return names.join(QLatin1Char('|'));
    }

    // Opens the opening window from the list and runs body in it.
    static void inOpening(CreditBookWindow* list, std::function<void(AccountOpeningDialog*)> body) {
        whenShown<AccountOpeningDialog>(QStringLiteral("f_abrir_ficha"), std::move(body));
        click(child<QPushButton>(list, QStringLiteral("SpeedButton1")));
    }

private slots:
    void listIsSortedAndStandsOnTheFirstAccount() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('ZECA'), ('ANA'), ('MARIA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                     QStringList({"ANA", "MARIA", "ZECA"}));
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->currentIndex().data().toString(),
                     QStringLiteral("ANA"));
            // a double-click on a name opens that name's sheet
            QVERIFY(inSheet(list, rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 2),
                            [](AccountSheet* sheet) {
                                QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                                         QStringLiteral("ZECA"));
                            }));
            // back in the list, which was read again: the first account is current
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
        }));
        // showing the list again reads accounts stored meanwhile
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('BIA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                     QStringList({"ANA", "BIA", "MARIA", "ZECA"}));
        }));
    }

    // Brazilian order: accented letters and Ç beside their plain letters; names differing only by
    // an accent both stay; the file names no collation, so standard tools still read it.
    void namesInBrazilianOrder() {
        App app;
        app.db.exec(
            QStringLiteral("insert into tbl_caderneta(nome) values ('ZÉ'), ('ÉRICA'), ('ÁLVARO'), "
                           "('CÉLIA'), ('ALVARO'), ('ÇAIRA'), ('CAIO'), ('BRUNO'), ('EDSON'), ('ZECA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                     QStringList({"ALVARO", "ÁLVARO", "BRUNO", "CAIO", "ÇAIRA", "CÉLIA", "EDSON", "ÉRICA",
                                  "ZÉ", "ZECA"}));
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from sqlite_master where sql like '%PTBR%'")),
                 QStringLiteral("0"));
    }

    void openingStoresTheNameButNotAsCurrent() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('MARIA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            inOpening(list, [&](AccountOpeningDialog* w) {
                QTRY_VERIFY(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->hasFocus());
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("jo"));
                QTest::sendKeyEvent(QTest::Click, child<QLineEdit>(w, QStringLiteral("DBEdit1")),
                                    Qt::Key_Atilde, QStringLiteral("ã"), Qt::NoModifier);
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("o"));
                QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text(), QStringLiteral("JOÃO"));
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
                QVERIFY(!w->isVisible());
            });
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                     QStringList({"JOÃO", "MARIA"}));
            inOpening(list, [&](AccountOpeningDialog* w) {
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("ana"));
                click(child<QPushButton>(w, QStringLiteral("SpeedButton1")));
            });
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                     QStringList({"ANA", "JOÃO", "MARIA"}));
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
            // a double-click without picking a name opens the first account, not the new one
            QVERIFY(inSheet(list, emptyPoint(child<RowGrid>(list, QStringLiteral("DBGrid1"))),
                            [](AccountSheet* sheet) {
                                QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(),
                                         QStringLiteral("ANA"));
                            }));
        }));
        QCOMPARE(accountNames(app), QStringLiteral("MARIA|JOÃO|ANA"));
    }

    void emptyNameIsRefused() {
        App app;
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            inOpening(list, [&](AccountOpeningDialog* w) {
                click(child<QPushButton>(w, QStringLiteral("SpeedButton1")));
                QCOMPARE(app.messages.messages.size(), 1);
                QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Plain);
                QCOMPARE(app.messages.last(), QStringLiteral("O campo NOME não pode ficar em branco"));
                QVERIFY(w->isVisible());
                QTRY_VERIFY(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->hasFocus());
                // only a completely empty name is refused
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("  "));
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
                QVERIFY(!w->isVisible());
            });
        }));
        QCOMPARE(accountNames(app), QStringLiteral("  "));
    }

    void nameIsCappedAtThirtyCharacters() {
        App app;
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            inOpening(list, [&](AccountOpeningDialog* w) {
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")),
                     QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789"));
                QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text(),
                         QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"));
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
            });
        }));
        QCOMPARE(accountNames(app), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"));
    }

    void repeatedNameIsRefusedAndCancelLeavesTheTable() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('ANA'), ('BIA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            inOpening(list, [&](AccountOpeningDialog* w) {
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("ana"));
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
                QCOMPARE(app.messages.messages.size(), 1);
                QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Plain);
                QCOMPARE(app.messages.last(), QStringLiteral("Já existe uma conta com o nome ANA."));
                QVERIFY(w->isVisible());
                QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text(), QStringLiteral("ANA"));
                QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->selectedText(),
                         QStringLiteral("ANA"));
                QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                         QStringList({"ANA", "BIA"})); // no row for the refused name
                click(child<QPushButton>(w, QStringLiteral("SpeedButton2")));
                QVERIFY(!w->isVisible());
            });
            QCOMPARE(column(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0), QStringList({"ANA", "BIA"}));
            // the pending row is gone: a second try with a new name stores only that name
            inOpening(list, [&](AccountOpeningDialog* w) {
                QCOMPARE(child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text(), QString());
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("ana"));
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
                QVERIFY(w->isVisible());
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")),
                     QStringLiteral("ANA PAULA")); // replaces the selected name
                key(child<QLineEdit>(w, QStringLiteral("DBEdit1")), Qt::Key_Return);
                QVERIFY(!w->isVisible());
            });
        }));
        QCOMPARE(accountNames(app), QStringLiteral("ANA|BIA|ANA PAULA"));
    }

    // From the keyboard: Enter on a name opens its account, Enter on a product marks it.
    void enterOpensTheAccountAndMarksTheProduct() {
        App app;
        app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('ANA'), ('BIA')"));
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            click(child<RowGrid>(list, QStringLiteral("DBGrid1")), 1);
            bool opened = false;
            whenShown<AccountSheet>(QStringLiteral("f_ficha_cad"), [&](AccountSheet* sheet) {
                opened = true;
                QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(), QStringLiteral("BIA"));
                click(child<RowGrid>(sheet, QStringLiteral("DBGrid2")), 1); // REFRIGERANTE
                key(child<RowGrid>(sheet, QStringLiteral("DBGrid2")), Qt::Key_Return);
                QCOMPARE(column(child<RowGrid>(sheet, QStringLiteral("DBGrid1")), 0),
                         QStringList{QStringLiteral("REFRIGERANTE")});
                QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(), QStringLiteral("4,00"));
            });
            key(child<RowGrid>(list, QStringLiteral("DBGrid1")), Qt::Key_Return);
            QVERIFY(opened);
        }));
    }

    void withoutAccountsASheetOpensEmpty() {
        App app;
        QVERIFY(inList(app, [&](CreditBookWindow* list) {
            QCOMPARE(child<RowGrid>(list, QStringLiteral("DBGrid1"))->model()->rowCount(), 0);
            QVERIFY(inSheet(
                list, emptyPoint(child<RowGrid>(list, QStringLiteral("DBGrid1"))), [&](AccountSheet* sheet) {
                    QCOMPARE(child<QLineEdit>(sheet, QStringLiteral("DBEdit1"))->text(), QString());
                    QCOMPARE(child<QLabel>(sheet, QStringLiteral("v_total1"))->text(),
                             QStringLiteral("0,00"));
                    QCOMPARE(child<RowGrid>(sheet, QStringLiteral("DBGrid1"))->model()->rowCount(), 0);
                    // nothing can be charged to no account
                    click(child<QPushButton>(sheet, QStringLiteral("SpeedButton1")));
                    QCOMPARE(app.messages.messages.size(), 1);
                    QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Error);
                }));
        }));
        QCOMPARE(app.db.scalar(QStringLiteral("select count(*) from tbl_prod_caderneta")),
                 QStringLiteral("0"));
    }
};

QUORVANTA_TEST_MAIN(TestCreditBookWindow)
#include "tst_creditbookwindow.moc"
