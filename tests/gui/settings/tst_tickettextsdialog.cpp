#include "adminsupport.h"

#include "core/db/datamodule.h"
#include "gui/settings/tickettextsdialog.h"

#include <QLineEdit>
#include <QPushButton>

using namespace TestSupport;
using namespace AdminSupport;

class TestTicketTextsDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<App> app;

    TicketTextsDialog* f() const { return app->app->f_confi_impr; }
    Dataset* festa() const { return app->app->dm->q_festa; }
    QList<QStringList> stored() const { return app->db.rows("select cabecalho, rodape from tbl_festa"); }
    // Opens the window from the main menu (F6) and runs `steps` in it.
    void withWindow(std::function<void()> steps) {
        bool shown = false;
        whenModal(QStringLiteral("f_confi_impr"), [&, steps](QWidget*) {
            shown = true;
            steps();
            if (f()->isVisible()) f()->reject();
        });
        menuKey(*app, Qt::Key_F6);
        QVERIFY(shown);
    }
    const QList<QStringList> delivered{
        {QStringLiteral("FESTA DA COMUNIDADE"), QStringLiteral("Obrigado e boa festa!")}};

private slots:
    void init() { app = std::make_unique<App>(); }
    void cleanup() { app.reset(); }

    void salvarStoresTheTextsAsTypedWithinThirtyCharacters() {
        withWindow([&] {
            QCOMPARE(f()->windowTitle(), QStringLiteral("Dados da Festa"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(),
                     QStringLiteral("FESTA DA COMUNIDADE"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit1")),
                   QStringLiteral("Festa Junina de Sao Joao"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")),
                   QStringLiteral("Troque sua ficha no balcao 123456789"));
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit2"))->text().size(), 30);
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
            QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Dados Cadastrados!")});
            QCOMPARE(app->messages.messages[0].kind, Messages::Kind::Plain);
        });
        QCOMPARE(stored(), (QList<QStringList>{{QStringLiteral("Festa Junina de Sao Joao"),
                                                QStringLiteral("Troque sua ficha no balcao 123")}}));
        // the reports print the shared row as it now stands
        QCOMPARE(festa()->state(), Dataset::State::Browse);
        QCOMPARE(festa()->asString(QStringLiteral("cabecalho")), QStringLiteral("Festa Junina de Sao Joao"));
    }

    void salvarWithoutChangeStillConfirms() {
        withWindow([&] { click(child<QPushButton>(f(), QStringLiteral("SpeedButton1"))); });
        QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Dados Cadastrados!")});
        QCOMPARE(stored(), delivered);
    }

    void sairAndTheCloseBoxDiscardTheTyping() {
        withWindow([&] {
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit1")), QStringLiteral("meio digitado"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton2")));
        });
        QCOMPARE(stored(), delivered);
        QCOMPARE(festa()->asString(QStringLiteral("cabecalho")), QStringLiteral("FESTA DA COMUNIDADE"));
        withWindow([&] {
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(),
                     QStringLiteral("FESTA DA COMUNIDADE"));
            retype(child<QLineEdit>(f(), QStringLiteral("DBEdit2")), QStringLiteral("meio digitado"));
            f()->close();
        });
        QCOMPARE(festa()->state(), Dataset::State::Browse);
        QCOMPARE(festa()->asString(QStringLiteral("rodape")), QStringLiteral("Obrigado e boa festa!"));
        QCOMPARE(stored(), delivered);
        QVERIFY(app->messages.messages.isEmpty());
    }

    void anEmptyTableGetsItsOneRow() {
        app->db.exec("delete from tbl_festa");
        festa()->setQuery(QStringLiteral("SELECT * FROM tbl_festa"), QStringLiteral("tbl_festa"));
        festa()->open();
        withWindow([&] {
            QCOMPARE(child<QLineEdit>(f(), QStringLiteral("DBEdit1"))->text(), QString());
            type(child<QLineEdit>(f(), QStringLiteral("DBEdit1")), QStringLiteral("Quermesse"));
            click(child<QPushButton>(f(), QStringLiteral("SpeedButton1")));
        });
        QCOMPARE(stored(), (QList<QStringList>{{QStringLiteral("Quermesse"), QString()}}));
        withWindow([&] { click(child<QPushButton>(f(), QStringLiteral("SpeedButton1"))); });
        QCOMPARE(stored().size(), 1);
    }
};

QUORVANTA_TEST_MAIN(TestTicketTextsDialog)
#include "tst_tickettextsdialog.moc"
