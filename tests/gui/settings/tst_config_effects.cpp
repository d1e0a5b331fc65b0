// What the configuration changes in the rest of the program: the till number of the next opening,
// the tickets a sale prints, the header on the next ticket. Driven through the main menu, the till
// opening, the sales screen and the change window.

#include "adminsupport.h"
#include "core/till/tillmodel.h"

#include "gui/sales/saleswindow.h"
#include "gui/settings/productswindow.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace TestSupport;
using namespace AdminSupport;

class TestConfigEffects : public QObject {
    Q_OBJECT
    std::unique_ptr<App> app;

    Application& application() const { return *app->app; }

    // Where a key typed on that window goes: its focused control, or the window itself.
    static QWidget* focusIn(QWidget* window) {
        QWidget* w = window->focusWidget();
        return w && w->isEnabled() && w->isVisible() ? w : window;
    }
    static QString textOf(const QLabel* l) { return l ? l->text() : QStringLiteral("<sem campo>"); }

    bool tillWindowsBuilt() const {
        return child<QLineEdit>(application().f_abertura, QStringLiteral("edt_responsavel")) &&
               child<QLineEdit>(application().f_caixa, QStringLiteral("edt_entrada")) &&
               child<QLabel>(current(application().f_parcial), QStringLiteral("lcaixa")) &&
               current(application().f_parcial)->countLabel(QLatin1Char('1'));
    }

    // F5, then `steps` in the product configuration, then "OK".
    void configure(std::function<void(ProductsWindow*)> steps) {
        whenModal(QStringLiteral("f_config"), [&, steps](QWidget*) {
            steps(application().f_config);
            click(child<QPushButton>(application().f_config, QStringLiteral("SpeedButton1")));
        });
        menuKey(*app, Qt::Key_F5);
    }

    // F2, names and a float of 50, Enter; `inTill` runs on the sales screen, then the till is closed.
    // Returns whether the sales screen showed.
    bool openTill(std::function<void()> inTill) {
        bool tillShown = false;
        whenModal(QStringLiteral("f_abertura"), [&, inTill](QWidget*) {
            OpeningDialog* a = application().f_abertura;
            whenModal(QStringLiteral("f_caixa"), [&, inTill](QWidget*) {
                tillShown = true;
                inTill();
                if (application().f_caixa->isVisible()) application().f_caixa->closeTill();
            });
            type(child<QLineEdit>(a, QStringLiteral("edt_responsavel")), QStringLiteral("maria"));
            key(child<QLineEdit>(a, QStringLiteral("edt_responsavel")), Qt::Key_Return);
            type(child<QLineEdit>(a, QStringLiteral("edt_operador")), QStringLiteral("jose"));
            key(child<QLineEdit>(a, QStringLiteral("edt_operador")), Qt::Key_Return);
            child<QLineEdit>(a, QStringLiteral("edt_entrada"))->selectAll();
            type(child<QLineEdit>(a, QStringLiteral("edt_entrada")), QStringLiteral("50"));
            key(child<QLineEdit>(a, QStringLiteral("edt_entrada")), Qt::Key_Return);
            if (a->isVisible()) a->reject();
        });
        menuKey(*app, Qt::Key_F2);
        return tillShown;
    }

    // On the sales screen: the product keys, "*", Enter on the exact amount, Enter on the change window's OK.
    // `inChange` runs while the change window is up.
    void sell(const QString& keys, std::function<void()> inChange = {}) {
        SalesWindow* c = application().f_caixa;
        for (const QChar k : keys)
            QTest::keyClicks(focusIn(c), QString(k));
        QTest::keyClicks(focusIn(c), QStringLiteral("*"));
        whenModal(QStringLiteral("f_troco"), [inChange](QWidget* troco) {
            if (inChange) inChange();
            QTest::keyClick(focusIn(troco), Qt::Key_Return);
            if (troco->isVisible()) troco->close();
        });
        QTest::keyClick(focusIn(c), Qt::Key_Return);
    }

private slots:
    void init() {
        app = std::make_unique<App>();
        if (!tillWindowsBuilt())
            QFAIL("the till opening, the sales screen and the partial view are not built in this tree");
    }
    void cleanup() { app.reset(); }

    void theNextTillNumberFollowsTheCounter() {
        configure([](ProductsWindow* f) {
            retype(child<QLineEdit>(f, QStringLiteral("DBEdit6")), QStringLiteral("41"));
            click(child<QPushButton>(f, QStringLiteral("SpeedButton2")));
        });
        QString tillNumber;
        QVERIFY(openTill([&] { tillNumber = application().till->numberText(); }));
        QCOMPARE(tillNumber, QStringLiteral("42"));
        QCOMPARE(app->db.scalar("select cont from tbl_cont"), QStringLiteral("42"));

        configure([](ProductsWindow* f) {
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("DBEdit6"))->text(), QStringLiteral("42"));
            retype(child<QLineEdit>(f, QStringLiteral("DBEdit6")), QString());
            click(child<QPushButton>(f, QStringLiteral("SpeedButton2")));
        });
        QVERIFY(openTill([&] { tillNumber = application().till->numberText(); }));
        QCOMPARE(tillNumber, QStringLiteral("1"));
    }

    void twoTicketsPerUnitPrintAndCountTwiceWhileThePriceAddsOnce() {
        configure([](ProductsWindow* f) {
            clickRow(child<RowGrid>(f, QStringLiteral("DBGrid1")), 1); // REFRIGERANTE, 4,00
            retype(child<QLineEdit>(f, QStringLiteral("DBEdit3")), QStringLiteral("2"));
            click(child<QToolButton>(f, QStringLiteral("DBNavigator1")));
        });
        QCOMPARE(app->db.scalar("select quantidade from tbl_produtos where id = '1'"), QStringLiteral("2"));
        QString total;
        qsizetype tickets = -1;
        QString count, cash;
        QVERIFY(openTill([&] {
            sell(QStringLiteral("1"), [&] {
                total = child<QLineEdit>(application().f_caixa, QStringLiteral("v_total1"))->text();
                tickets = app->printer.jobsOf(QStringLiteral("qr_fichas")).size();
            });
            count = textOf(current(application().f_parcial)->countLabel(QLatin1Char('1')));
            cash = textOf(child<QLabel>(current(application().f_parcial), QStringLiteral("lcaixa")));
        }));
        QCOMPARE(tickets, 2);
        QCOMPARE(total, QStringLiteral("4,00"));
        QCOMPARE(count, QStringLiteral("2"));
        QCOMPARE(cash, QStringLiteral("54,00"));
    }

    void theNextTicketPrintsTheNewHeader() {
        whenModal(QStringLiteral("f_confi_impr"), [&](QWidget*) {
            retype(child<QLineEdit>(application().f_confi_impr, QStringLiteral("DBEdit1")),
                   QStringLiteral("Festa Nova"));
            click(child<QPushButton>(application().f_confi_impr, QStringLiteral("SpeedButton1")));
        });
        menuKey(*app, Qt::Key_F6);
        QVERIFY(openTill([&] { sell(QStringLiteral("0")); }));
        const auto opening = app->printer.jobsOf(QStringLiteral("qr_abertura"));
        QCOMPARE(opening.size(), 1);
        QVERIFY(opening[0].allTexts.contains(QStringLiteral("Festa Nova")));
        const auto tickets = app->printer.jobsOf(QStringLiteral("qr_fichas"));
        QCOMPARE(tickets.size(), 1);
        QVERIFY(tickets[0].allTexts.contains(QStringLiteral("Festa Nova")));
        QVERIFY(!tickets[0].allTexts.contains(QStringLiteral("FESTA DA COMUNIDADE")));
    }
};

QUORVANTA_TEST_MAIN(TestConfigEffects)
#include "tst_config_effects.moc"
