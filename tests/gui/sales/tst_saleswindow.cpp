#include "core/db/datamodule.h"
#include "core/reports/closingreport.h"
#include "gui/common/rowgrid.h"
#include "gui/sales/changedialog.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/till/closingdialog.h"
#include "gui/till/partialview.h"
#include "support/testsupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

using namespace TestSupport;

namespace {

// A till opened the way the opening does it: header, figures, empty tally, cleared sale; then the
// sales screen is shown modally and `body` drives it from inside its modal loop.
struct Till {
    App app;
    SalesWindow* c = nullptr;
    PartialView* p = nullptr;

    explicit Till(const QString& entrada = QStringLiteral("50")) {
        c = app.app->f_caixa;
        p = app.app->f_parcial;
        setTillOpen(app, QStringLiteral("8"), entrada);
    }

    void run(const std::function<void()>& body) {
        c->btdelClick();
        bool ran = false;
        whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
            c->activateWindow();
            QTRY_VERIFY(c->isActiveWindow());
            body();
            ran = true;
            c->closeTill();
        });
        c->showModal();
        QVERIFY(ran);
    }

    // Keys as the keyboard delivers them: to whatever holds the focus in the active window.
    static QWindow* active() { return QApplication::activeModalWidget()->windowHandle(); }
    static void keys(const char* text) {
        for (const char* ch = text; *ch; ++ch)
            QTest::keyClick(active(), *ch);
    }
    static void press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(active(), k, m);
    }

    // Confirms the cash entry; `inTroco` runs while the change window is up, then "OK" is pressed.
    void confirm(const std::function<void(ChangeDialog*)>& inTroco = {}) {
        bool shown = false;
        whenModal(QStringLiteral("f_troco"), [&](QWidget* w) {
            shown = true;
            if (inTroco) inTroco(static_cast<ChangeDialog*>(w));
            press(Qt::Key_Return);
        });
        press(Qt::Key_Return);
        QVERIFY(shown);
    }

    QStringList tickets() const {
        QStringList out;
        for (const PrintedJob& j : app.printer.jobsOf(QStringLiteral("qr_fichas")))
            out << j.text(QStringLiteral("qr_impresso"));
        return out;
    }
    int saleRows() const { return app.db.scalar(QStringLiteral("select count(*) from tbl_vendas")).toInt(); }
    QList<QStringList> tally() const {
        return app.db.rows(
            QStringLiteral("select id, produto, valor, quantidade from tbl_cont_vendas order by rowid"));
    }
    QStringList errors() const {
        QStringList out;
        for (const RecordedMessage& m : app.messages.messages)
            if (m.kind == Messages::Kind::Error) out << m.text;
        return out;
    }
};

} // namespace

class TestSalesWindow : public QObject {
    Q_OBJECT

private slots:
    void wholeSaleFromTheKeyboard() {
        Till t;
        t.app.db.exec("update tbl_produtos set quantidade = 2 where id = '2'");
        t.run([&] {
            Till::keys("1112");
            QCOMPARE(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->model()->rowCount(), 4);
            QCOMPARE(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->model()->index(3, 1).data().toString(),
                     QStringLiteral("CERVEJA"));
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QStringLiteral("18,00"));
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(), QStringLiteral("18,00"));
            QVERIFY(!child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->isEnabled());

            Till::keys("*20");
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(),
                     QStringLiteral("20")); // typing replaced the offered total
            t.confirm([&](ChangeDialog* troco) {
                QCOMPARE(child<QLabel>(troco, QStringLiteral("ltroco"))->text(), QStringLiteral("2,00"));
                QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_troco"))->text(), QStringLiteral("2,00"));
                QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(),
                         QStringLiteral("68,00"));
            });
            QCOMPARE(t.tickets(), QStringList({"REFRI", "REFRI", "REFRI", "CERVEJA", "CERVEJA"}));
            const PrintedJob first = t.app.printer.jobs.first();
            QCOMPARE(first.text(QStringLiteral("qr_cabecalho")), QStringLiteral("FESTA DA COMUNIDADE"));
            QCOMPARE(first.text(QStringLiteral("qr_rodape")), QStringLiteral("Obrigado e boa festa!"));
            QCOMPARE(t.tally().size(), 4);
            QCOMPARE(t.tally().last(), QStringList({"2", "CERVEJA", "6,00", "2"}));
            // "OK" cleared the sale and brought the partial view up to date
            QCOMPARE(t.saleRows(), 0);
            QCOMPARE(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->model()->rowCount(), 0);
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QString());
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_troco"))->text(), QString());
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(), QStringLiteral("0"));
            QCOMPARE(current(t.p)->countLabel(QLatin1Char('1'))->text(), QStringLiteral("3"));
            QCOMPARE(current(t.p)->countLabel(QLatin1Char('2'))->text(), QStringLiteral("2"));
            QCOMPARE(current(t.p)->nameLabel(QLatin1Char('2'))->text(), QStringLiteral("CERVEJA"));
            QVERIFY(t.errors().isEmpty());

            // the next sale starts clean: Ctrl+P shows the partial view with the right figures
            bool shown = false;
            whenModal(QStringLiteral("f_parcial"), [&](QWidget* w) {
                shown = true;
                QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(),
                         QStringLiteral("68,00"));
                static_cast<QDialog*>(w)->accept();
            });
            Till::press(Qt::Key_P, Qt::ControlModifier);
            QVERIFY(shown);
        });
    }

    void tillFiguresAndPriceTexts() {
        Till t(QStringLiteral("50"));
        t.app.db.exec("update tbl_produtos set valor = '12,50' where id = '3'");
        t.app.db.exec("update tbl_produtos set valor = '7,5' where id = '4'");
        t.app.db.exec("update tbl_produtos set quantidade = 0 where id = '5'");
        t.run([&] {
            Till::keys("3*");
            t.confirm();
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("62,50"));

            Till::keys("4");
            QCOMPARE(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->model()->index(0, 2).data().toString(),
                     QStringLiteral("7,5"));
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QStringLiteral("7,50"));
            Till::keys("*");
            t.confirm();
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("70,00"));
            QCOMPARE(t.tally().last(), QStringList({"4", "CACHORRO-QUENTE", "7,5", "1"}));

            // a product printing no ticket is still booked and still counts in the total
            t.app.printer.jobs.clear();
            Till::keys("51");
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QStringLiteral("7,00"));
            Till::keys("*");
            t.confirm();
            QCOMPARE(t.tickets(), QStringList({"REFRI"}));
            QCOMPARE(t.tally().size(), 4);
            QCOMPARE(current(t.p)->countLabel(QLatin1Char('5'))->text(), QStringLiteral("0"));
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("77,00"));
        });
    }

    void keyboard() {
        Till t;
        t.run([&] {
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(t.c)); // no child holds the keys
            Till::keys("A");
            QCOMPARE(t.saleRows(), 0);
            Till::keys("a"); // a key in use by no product still adds its row's line
            QCOMPARE(t.saleRows(), 1);
            Till::press(Qt::Key_Escape);
            QCOMPARE(t.saleRows(), 0);
            Till::keys("11");
            Till::press(Qt::Key_Return);
            QCOMPARE(t.saleRows(), 0);
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(), QStringLiteral("0"));

            // in the entry: "*" again, Esc and product letters are dropped; digits type
            Till::keys("3*");
            QVERIFY(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->hasFocus());
            Till::keys("*");
            Till::press(Qt::Key_Escape);
            Till::keys("ab");
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(), QStringLiteral("7,50"));
            QCOMPARE(t.saleRows(), 1);
            Till::keys("6");
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text(), QStringLiteral("6"));
            // the shortcuts still work from the entry
            bool shown = false;
            whenModal(QStringLiteral("f_parcial"), [&](QWidget* w) {
                shown = true;
                static_cast<QDialog*>(w)->accept();
            });
            Till::press(Qt::Key_P, Qt::ControlModifier);
            QVERIFY(shown);
            QVERIFY(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->hasFocus());

            // short payment (6 for 7,50, and 7,49): refused where it is typed, nothing printed or booked
            for (const char* shortAmount : {"", "7,49"}) {
                Till::keys(shortAmount);
                Till::press(Qt::Key_Return);
                QCOMPARE(t.app.messages.messages.last().text,
                         QStringLiteral("Valor recebido menor que o total da venda"));
                QVERIFY(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->hasFocus());
                QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->selectedText(),
                         child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->text());
                QCOMPARE(t.tickets().size(), 0);
                QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("50"));
                QCOMPARE(t.saleRows(), 1);
            }
            Till::keys("8");
            t.confirm([&](ChangeDialog* troco) {
                QCOMPARE(child<QLabel>(troco, QStringLiteral("ltroco"))->text(), QStringLiteral("0,50"));
            });
            QVERIFY(!child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->isEnabled());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(t.c));
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("57,50"));

            // "*" then Enter pays the exact amount
            Till::keys("2*");
            t.confirm([&](ChangeDialog* troco) {
                QCOMPARE(child<QLabel>(troco, QStringLiteral("ltroco"))->text(), QStringLiteral("0,00"));
            });
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("63,50"));
            QVERIFY(t.errors().isEmpty());
        });
    }

    void changeWindowCloseBoxOnlyClears() {
        Till t;
        t.run([&] {
            Till::keys("1*");
            whenModal(QStringLiteral("f_troco"), [](QWidget* w) { w->close(); });
            Till::press(Qt::Key_Return);
            QCOMPARE(t.saleRows(), 0);
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QString());
            QCOMPARE(t.tally().size(), 1);
            QCOMPARE(current(t.p)->countLabel(QLatin1Char('1'))->text(), QStringLiteral("0")); // no recount
        });
    }

    // Confirming with no lines: the total is 0,00 and nothing else happens.
    void emptySaleConfirmsNothing() {
        Till t;
        t.run([&] {
            Till::keys("*");
            Till::press(Qt::Key_Return);
            QVERIFY(!child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->isEnabled());
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_troco"))->text(), QStringLiteral("0,00"));
            Till::keys("1*");
            t.confirm();
            Till::keys("*5");
            Till::press(Qt::Key_Return); // after a completed sale, too
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("edt_troco"))->text(), QStringLiteral("5,00"));
        });
        QVERIFY(t.app.messages.messages.isEmpty());
        QCOMPARE(t.tickets().size(), 1);
        QCOMPARE(t.tally().size(), 1);
        QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("54,00"));
    }

    // Every conversion is checked before the first ticket prints.
    void unreadableAmountsPrintNothing() {
        Till t;
        t.app.db.exec("update tbl_produtos set valor = '4,0,0' where id = '6'");
        t.run([&] {
            Till::keys("16");
            QCOMPARE(t.errors().size(), 1); // the total stops at the bad line
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QStringLiteral("4,00"));
            Till::keys("*");
            Till::press(Qt::Key_Return);
            QCOMPARE(t.errors().size(), 2);
            QVERIFY(!child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->isEnabled());
            QCOMPARE(t.saleRows(), 2);

            Till::press(Qt::Key_Escape);
            setTillFigures(t.app, QStringLiteral("50,,0")); // cash that is no amount
            Till::keys("1*");
            Till::press(Qt::Key_Return);
            QCOMPARE(t.errors().size(), 3);
            QCOMPARE(t.saleRows(), 1);

            setTillFigures(t.app, QStringLiteral("50"));
            Till::keys("*");
            Till::press(Qt::Key_Backspace); // an empty entry
            Till::press(Qt::Key_Return);
            QCOMPARE(t.errors().size(), 4);
        });
        QVERIFY(t.tickets().isEmpty());
        QVERIFY(t.tally().isEmpty());
        QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("50"));
    }

    void quotesInProductValues() {
        Till t;
        t.app.db.exec("update tbl_produtos set produto = 'D''ÁGUA', impresso = 'D''ÁGUA' where id = '0'");
        t.run([&] {
            Till::keys("0*");
            t.confirm();
        });
        QVERIFY(t.errors().isEmpty());
        QCOMPARE(t.tickets(), QStringList({"D'ÁGUA"}));
        QCOMPARE(t.tally(), QList<QStringList>({{"0", "D'ÁGUA", "2,00", "1"}}));
    }

    // A failure halfway through a sale's tickets: the retry prints only the rest, adds and books once.
    void printFailureRetriesTheRestOnly() {
        Till t;
        t.app.db.exec("update tbl_produtos set quantidade = 2 where id = '2'");
        t.run([&] {
            Till::keys("112*");
            t.app.printer.failAfter = 3;
            Till::press(Qt::Key_Return);
            QCOMPARE(t.errors(), QStringList({"Impressora sem papel"}));
            QCOMPARE(t.tickets(), QStringList({"REFRI", "REFRI", "CERVEJA"}));
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("50"));
            QVERIFY(t.tally().isEmpty());
            QCOMPARE(t.saleRows(), 3);

            t.app.printer.failAfter = -1;
            Till::keys("*");
            t.confirm();
            QCOMPARE(t.tickets(), QStringList({"REFRI", "REFRI", "CERVEJA", "CERVEJA"}));
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("64,00"));
            QCOMPARE(t.tally().size(), 3);

            // a cleared sale forgets what it printed
            t.app.printer.failAfter = t.app.printer.attempts + 1;
            Till::keys("11*");
            Till::press(Qt::Key_Return);
            Till::press(Qt::Key_Escape);
            t.app.printer.failAfter = -1;
            Till::keys("1*");
            t.confirm();
        });
        QCOMPARE(t.tickets().size(), 4 + 1 + 1);
        QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("68,00"));
    }

    // A booking that fails books nothing and adds nothing; one more key, then the retry prints only the
    // new ticket and adds and books the whole sale once.
    void bookingFailureRetriesOnce() {
        Till t;
        t.app.db.exec("create trigger full_disk before insert on tbl_cont_vendas when new.id = '2' "
                      "begin select raise(abort, 'disco cheio'); end");
        t.run([&] {
            Till::keys("12*");
            Till::press(Qt::Key_Return);
            QCOMPARE(t.errors(), QStringList({"disco cheio"}));
            QCOMPARE(t.tickets().size(), 2);
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(),
                     QStringLiteral("50")); // the cash goes in with the booking
            QVERIFY(t.tally().isEmpty());
            t.app.db.exec("drop trigger full_disk");
            Till::keys("1");
            QCOMPARE(child<QLineEdit>(t.c, QStringLiteral("v_total1"))->text(), QStringLiteral("14,00"));
            Till::keys("*");
            t.confirm();
        });
        QCOMPARE(t.tickets(), QStringList({"REFRI", "CERVEJA", "REFRI"}));
        QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("64,00"));
        QCOMPARE(t.tally().size(), 3);
    }

    void aClickDoesNotTakeTheKeyboardFromTheCashEntry() {
        Till t;
        t.run([&] {
            Till::keys("1*");
            QTRY_VERIFY(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->hasFocus());
            QTest::mouseClick(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->viewport(), Qt::LeftButton);
            QTest::mouseClick(t.c, Qt::LeftButton, {}, QPoint(5, 5));
            QVERIFY(child<QLineEdit>(t.c, QStringLiteral("edt_entrada"))->hasFocus());
            t.confirm();
            QCOMPARE(t.tickets(), QStringList({"REFRI"}));
        });
    }

    void commandsAndClosing() {
        Till t;
        ClosingReport* report = t.app.app->qr_fechamento;
        t.app.db.exec("update tbl_produtos set produto = 'SUCO' where id = '6'");
        t.run([&] {
            // shown: names loaded, no withdrawals yet, the tally never read whole
            QCOMPARE(current(t.p)->nameLabel(QLatin1Char('6'))->text(), QStringLiteral("SUCO"));
            QCOMPARE(child<QLabel>(current(t.p), QStringLiteral("lsangria"))->text(), QStringLiteral("0,00"));
            QVERIFY(!t.app.app->dm->q_cont_vendas->isActive());
            QCOMPARE(child<RowGrid>(t.c, QStringLiteral("DBGrid1"))->model()->rowCount(), 7);

            auto expect = [](const char* window, const std::function<void()>& trigger) {
                bool shown = false;
                whenModal(QLatin1String(window), [&](QWidget* w) {
                    shown = true;
                    static_cast<QDialog*>(w)->reject();
                });
                trigger();
                QVERIFY2(shown, window);
            };
            expect("f_s_fechamento", [] { Till::press(Qt::Key_F, Qt::ControlModifier); });
            expect("f_s_sangria", [] { Till::press(Qt::Key_S, Qt::ControlModifier); });
            expect("f_caderneta", [&] {
                QTest::mouseClick(child<QPushButton>(t.c, QStringLiteral("SpeedButton1")), Qt::LeftButton);
            });
            QCOMPARE(report->caption(QStringLiteral("qr_aberto")), QStringLiteral("MARIA"));
            QCOMPARE(report->caption(QStringLiteral("qr_operador")), QStringLiteral("JOSE"));
            QCOMPARE(report->caption(QStringLiteral("qr_entrada")), QStringLiteral("50"));
            QCOMPARE(child<QLabel>(t.app.app->f_fechamento, QStringLiteral("lncaixa"))->text(),
                     QStringLiteral("8"));

            // nothing but the till closing closes the window
            t.c->close();
            Till::press(Qt::Key_F4, Qt::AltModifier);
            t.c->reject();
            QVERIFY(t.c->isVisible());
            QVERIFY(t.c->windowState() & Qt::WindowMaximized);
            QCOMPARE(t.c->frameGeometry(), t.c->screen()->availableGeometry());
            QVERIFY(!(t.c->windowFlags() & Qt::WindowCloseButtonHint));
        });
        QVERIFY(!t.c->isVisible());
    }

    // Minimised through the window system (its button, a shortcut or a state request, with or without
    // the maximised state kept), the screen comes straight back maximised, active and taking the keys.
    void minimisedComesBackWithTheKeyboard_data() {
        QTest::addColumn<bool>("keepsMaximized");
        QTest::newRow("minimise") << false;
        QTest::newRow("minimised and maximised") << true;
    }
    void minimisedComesBackWithTheKeyboard() {
        QFETCH(bool, keepsMaximized);
        Till t;
        t.run([&] {
            QWindow* w = t.c->windowHandle();
            if (keepsMaximized)
                w->setWindowStates(Qt::WindowMinimized | Qt::WindowMaximized);
            else
                w->showMinimized();
            QTRY_COMPARE(w->windowStates(), Qt::WindowMaximized);
            QTRY_COMPARE(t.c->windowState(), Qt::WindowMaximized);
            QTRY_VERIFY(t.c->isActiveWindow());
            Till::keys("1");
            QCOMPARE(child<SaleGrid>(t.c, QStringLiteral("DBGrid2"))->model()->rowCount(), 1);
        });
    }

    // The till password shows in the legend only while it is the delivered test password.
    void legendShowsTheTillPasswordOnlyWhileItIsTheTestOne() {
        Till t;
        const auto legend = [&] { return child<QLabel>(t.c, QStringLiteral("Label6"))->text(); };
        t.run([&] {
            QCOMPARE(legend(), QStringLiteral("CTRL + S – Permite efetuar a sangria de valores do caixa "
                                              "(Senha teste: 574913 )"));
        });
        t.app.db.exec("update tbl_senhas set s_caixa = '8080'");
        t.run([&] {
            QCOMPARE(legend(), QStringLiteral("CTRL + S – Permite efetuar a sangria de valores do caixa"));
        });
    }
};

QUORVANTA_TEST_MAIN(TestSalesWindow)
#include "tst_saleswindow.moc"
