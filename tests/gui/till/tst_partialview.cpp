#include "core/till/productkeys.h"
#include "gui/shell/application.h"
#include "gui/till/partialview.h"
#include "support/testsupport.h"

#include <QLabel>

using namespace TestSupport;

class TestPartialView : public QObject {
    Q_OBJECT

    static void book(App& app, const char* id, int quantidade) {
        bookTallyRow(app, QLatin1String(id), quantidade);
    }

private slots:
    void startsWithZeroFigures() {
        App app;
        PartialView* p = app.app->f_parcial;
        QCOMPARE(child<QLabel>(current(p), QStringLiteral("lentrada"))->text(), QStringLiteral("0,00"));
        QCOMPARE(child<QLabel>(current(p), QStringLiteral("lsangria"))->text(), QStringLiteral("0,00"));
        QCOMPARE(child<QLabel>(current(p), QStringLiteral("lcaixa"))->text(), QStringLiteral("0,00"));
        QCOMPARE(child<QLabel>(current(p), QStringLiteral("lcont_sangria"))->text(), QStringLiteral("0"));
        for (const QChar k : ProductKeys::all()) {
            QCOMPARE(current(p)->countLabel(k)->text(), QStringLiteral("0"));
            QCOMPARE(current(p)->countLabel(k)->objectName(), QStringLiteral("cod") + k);
            QCOMPARE(current(p)->nameLabel(k)->objectName(), QStringLiteral("l") + k);
        }
    }

    void recountSumsTicketsPerKey() {
        App app;
        PartialView* p = app.app->f_parcial;
        book(app, "1", 2);
        book(app, "1", 3);
        book(app, "a", 1);
        book(app, "A", 4); // ids compare without letter case
        p->btquantClick();
        QCOMPARE(current(p)->countLabel(QLatin1Char('1'))->text(), QStringLiteral("5"));
        QCOMPARE(current(p)->countLabel(QLatin1Char('a'))->text(), QStringLiteral("5"));
        QCOMPARE(current(p)->countLabel(QLatin1Char('0'))->text(), QStringLiteral("0"));
    }

    void namesLoadAfresh() {
        App app;
        app.db.exec("update tbl_produtos set produto = 'UM NOME BEM LONGO DE 25 C' where id = 'c'");
        app.db.exec("delete from tbl_produtos where id = 'd'");
        PartialView* p = app.app->f_parcial;
        p->bt_filtrarClick();
        QCOMPARE(current(p)->nameLabel(QLatin1Char('1'))->text(), QStringLiteral("REFRIGERANTE"));
        QCOMPARE(current(p)->nameLabel(QLatin1Char('c'))->text(),
                 QStringLiteral("UM NOME BEM LONGO DE 25 C"));
        QCOMPARE(current(p)->nameLabel(QLatin1Char('d'))->text(), QString());
        QCOMPARE(current(p)->nameLabel(QLatin1Char('9'))->text(), QString());
    }

    void showingTheWindowRecountsButDoesNotReloadNames() {
        App app;
        PartialView* p = app.app->f_parcial;
        book(app, "3", 2);
        whenModal(QStringLiteral("f_parcial"), [](QWidget* w) {
            QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
        });
        p->showModal();
        QCOMPARE(current(p)->countLabel(QLatin1Char('3'))->text(), QStringLiteral("2"));
        QCOMPARE(current(p)->nameLabel(QLatin1Char('3'))->text(), QString());
    }

    void hiddenWindowIsNotRepaintedUntilShown() {
        App app;
        PartialView* p = app.app->f_parcial;
        setTillOpen(app);
        QVERIFY(p->isStale());
        QCOMPARE(child<QLabel>(p, QStringLiteral("lcaixa"))->text(),
                 QStringLiteral("0,00")); // not repainted while hidden
        QString shown;
        whenModal(QStringLiteral("f_parcial"), [&](QWidget* w) {
            shown = child<QLabel>(p, QStringLiteral("lcaixa"))->text();
            w->close();
        });
        p->showModal();
        QCOMPARE(shown, QStringLiteral("50"));
        QVERIFY(!p->isStale());
    }
};

QUORVANTA_TEST_MAIN(TestPartialView)
#include "tst_partialview.moc"
