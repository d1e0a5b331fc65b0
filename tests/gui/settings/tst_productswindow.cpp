#include "adminsupport.h"

#include "gui/settings/productswindow.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace TestSupport;
using namespace AdminSupport;

class TestProductsWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<App> app;

    ProductsWindow* f() const { return app->app->f_config; }
    QString stored(const QString& column, const QString& id) const {
        return app->db.scalar(QStringLiteral("select %1 from tbl_produtos where id = '%2'").arg(column, id));
    }
    // Opens the window from the main menu (F5) and runs `steps` in it; the steps close it.
    void withWindow(std::function<void()> steps) {
        bool shown = false;
        whenModal(QStringLiteral("f_config"), [&, steps](QWidget*) {
            shown = true;
            steps();
            if (f()->isVisible()) // a failed step must not leave the window up
                f()->reject();
        });
        menuKey(*app, Qt::Key_F5);
        QVERIFY(shown);
        QVERIFY(!f()->isVisible());
    }

private slots:
    void init() { app = std::make_unique<App>(); }
    void cleanup() { app.reset(); }

    void listsAllTwentyProductsByKey() {
        withWindow([&] {
            QCOMPARE(f()->windowTitle(), QStringLiteral("Configuração de Produtos"));
            auto* model = child<RowGrid>(f(), QStringLiteral("DBGrid1"))->model();
            QCOMPARE(model->rowCount(), 20);
            QString ids;
            for (int r = 0; r < model->rowCount(); ++r)
                ids += model->index(r, 0).data().toString();
            QCOMPARE(ids, QStringLiteral("0123456789abcdefghij"));
            QCOMPARE(model->index(6, 1).data().toString(), QString()); // unnamed, still listed
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(), QStringLiteral("0"));
            QVERIFY(!child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->isEnabled());
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("ÁGUA"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
    }

    void entriesTakeCapitalsWidthsAndOnlyTheirCharacters() {
        withWindow([&] {
            QVERIFY(!child<QToolButton>(f(), QStringLiteral("DBNavigator1"))->isEnabled());
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("suco de uva"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("SUCO DE UVA"));
            QVERIFY(child<QToolButton>(f(), QStringLiteral("DBNavigator1"))->isEnabled());
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit4")), QStringLiteral("suco-uva e mais texto"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit4"))->text(),
                     QStringLiteral("SUCO-UVA E MAIS")); // 15 characters
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit3")), QStringLiteral("2a.,-3"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit3"))->text(), QStringLiteral("23"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit5")), QStringLiteral("1a.5,-50x123456789"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit5"))->text(),
                     QStringLiteral("15,5012345")); // 10 characters
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit6")), QStringLiteral("4,1.a2"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit6"))->text(), QStringLiteral("412"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit5")), QStringLiteral("3,5"));
            click(child<QToolButton>(f(), QStringLiteral("DBNavigator1")));
            QVERIFY(!child<QToolButton>(f(), QStringLiteral("DBNavigator1"))->isEnabled());
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
        QCOMPARE(stored("produto", "0"), QStringLiteral("SUCO DE UVA"));
        QCOMPARE(stored("impresso", "0"), QStringLiteral("SUCO-UVA E MAIS"));
        QCOMPARE(stored("quantidade", "0"), QStringLiteral("23"));
        QCOMPARE(stored("valor", "0"), QStringLiteral("3,5"));
        QCOMPARE(app->db.scalar("select cont from tbl_cont"), QStringLiteral("0")); // "Gravar" not pressed
    }

    void okDropsAChangeAndMovingToAnotherProductStoresIt() {
        withWindow([&] {
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("nada"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
        QCOMPARE(stored("produto", "0"), QStringLiteral("ÁGUA"));
        withWindow([&] {
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("ÁGUA"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("agua mineral"));
            clickRow(child<RowGrid>(f(), QStringLiteral("DBGrid1")), 3);
            QCOMPARE(stored("produto", "0"), QStringLiteral("AGUA MINERAL"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("PASTEL"));
            // and by the keyboard
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("pastel de queijo"));
            child<RowGrid>(f(), QStringLiteral("DBGrid1"))->setFocus();
            key(child<RowGrid>(f(), QStringLiteral("DBGrid1")), Qt::Key_Down);
            QCOMPARE(stored("produto", "3"), QStringLiteral("PASTEL DE QUEIJO"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(), QStringLiteral("4"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
    }

    void aPriceThatIsNotMoneyIsRefusedAndKeptPending() {
        withWindow([&] {
            for (const QString& bad : {QStringLiteral("1,2,3"), QStringLiteral(","), QString()}) {
                app->messages.clear();
                retype(child<QLineEdit>(f(), QStringLiteral("DBEdit5")), bad);
                click(child<QToolButton>(f(), QStringLiteral("DBNavigator1")));
                QCOMPARE(app->messages.messages.size(), 1);
                QCOMPARE(app->messages.messages[0].kind, Messages::Kind::Plain);
                QCOMPARE(app->messages.last(), QStringLiteral("O campo VALOR deve conter um valor válido"));
                QCOMPARE(stored("valor", "0"), QStringLiteral("2,00"));
                QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit5"))->text(), bad);
                QVERIFY(child<QToolButton>(f(), QStringLiteral("DBNavigator1"))->isEnabled());
                // moving away is refused too: the grid and the entries stay on the product
                clickRow(child<RowGrid>(f(), QStringLiteral("DBGrid1")), 2);
                QCOMPARE(app->messages.messages.size(), 2);
                QCOMPARE(child<RowGrid>(f(), QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
                QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit5"))->text(), bad);
            }
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit5")), QStringLiteral("2,5"));
            clickRow(child<RowGrid>(f(), QStringLiteral("DBGrid1")), 2);
            QCOMPARE(stored("valor", "0"), QStringLiteral("2,5"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(), QStringLiteral("2"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
    }

    void tillCounterIsStoredByGravar() {
        withWindow([&] {
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit6"))->text(), QStringLiteral("0"));
            // nothing typed: the shown value is stored and confirmed
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton2")));
            QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Nº Caixa Atualizado")});
            QCOMPARE(app->db.scalar("select cont from tbl_cont"), QStringLiteral("0"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit6")), QStringLiteral("41"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton2")));
            QCOMPARE(app->db.scalar("select cont from tbl_cont"), QStringLiteral("41"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit6")), QString());
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton2")));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit6"))->text(), QString()); // as read again
            QCOMPARE(app->messages.texts().size(), 3);
            QCOMPARE(app->messages.texts().last(), QStringLiteral("Nº Caixa Atualizado"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
        QCOMPARE(app->db.rows("select cont is null from tbl_cont"),
                 QList<QStringList>{{QStringLiteral("1")}});
    }

    void closeBoxDiscardsPendingChanges() {
        withWindow([&] {
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("meio digitado"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit6")), QStringLiteral("99"));
            f()->close();
        });
        QVERIFY(!child<QToolButton>(f(), QStringLiteral("DBNavigator1"))->isEnabled());
        QCOMPARE(stored("produto", "0"), QStringLiteral("ÁGUA"));
        QCOMPARE(app->db.scalar("select cont from tbl_cont"), QStringLiteral("0"));
        withWindow([&] {
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("ÁGUA"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit6"))->text(), QStringLiteral("0"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
    }
};

QUORVANTA_TEST_MAIN(TestProductsWindow)
#include "tst_productswindow.moc"
