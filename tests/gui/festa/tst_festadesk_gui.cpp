// The festa on the desk's windows, against a real PostgreSQL 15 server of the test's own: the settings
// window tells in Portuguese what the server says and keeps the settings to the user alone, the sales
// screen's line follows the upload through a silent network, and the products window only shows the
// festa's catalogue.
#include "core/base/clock.h"
#include "core/db/datamodule.h"
#include "core/festa/festadesk.h"
#include "core/festa/festapanel.h"
#include "core/till/tillmodel.h"
#include "gui/festa/festasettingsdialog.h"
#include "gui/sales/saleswindow.h"
#include "gui/settings/passwordswindow.h"
#include "gui/settings/productswindow.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "support/festasupport.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <memory>

using namespace TestSupport;

namespace {

void fill(QWidget* w, const FestaSettings& s) {
    child<QLineEdit>(w, QStringLiteral("edt_servidor"))->setText(s.host);
    child<QSpinBox>(w, QStringLiteral("edt_porta"))->setValue(s.port);
    child<QLineEdit>(w, QStringLiteral("edt_caixa"))->setText(s.deskName);
    child<QLineEdit>(w, QStringLiteral("edt_senha"))->setText(s.password);
    child<QLineEdit>(w, QStringLiteral("edt_senha_tesouraria"))->setText(s.treasurerPassword);
}

// The main window's "Painel da Festa" (F11).
void askPanel(MainWindow* w) {
    auto* item = w->findChild<QAction*>(QStringLiteral("PainelFesta1"));
    QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F11));
    item->trigger();
}

void click(QWidget* w, const char* button) {
    child<QPushButton>(w, QLatin1String(button))->click();
}

void sell(TillModel& till, const QString& keys) {
    for (const QChar k : keys)
        till.addLine(k);
    till.bookSale();
    till.clearSale();
}

} // namespace

class TestFestaDeskGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TestPgServer> m_pg;
    QTemporaryDir m_config;

private slots:
    void initTestCase() {
        m_pg = std::make_unique<TestPgServer>();
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/postgres")))
            QSKIP("PostgreSQL 15 is not installed (Debian package postgresql-15)");
        QVERIFY2(m_pg->problem().isEmpty(), qPrintable(m_pg->problem()));
        FestaSettings::setFileName(m_config.filePath(QStringLiteral("festa.conf")));
    }
    void cleanupTestCase() { FestaSettings::setFileName(QString()); }

    void testarTellsWhatTheServerSays_data() {
        QTest::addColumn<int>("port"); // 0: the cluster's
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("trouble");
        const QString pw = TestPgServer::deskPassword();
        QTest::newRow("the festa's server")
            << 0 << pw << "Conexão com o servidor da festa: tudo certo." << false;
        QTest::newRow("wrong password") << 0 << "errada"
                                        << "O servidor da festa recusou a senha do caixa" << true;
        QTest::newRow("nothing on that port") << freePort() << pw << "recusou a conexão na porta" << true;
    }
    void testarTellsWhatTheServerSays() {
        QFETCH(int, port);
        QFETCH(QString, password);
        QFETCH(QString, told);
        QFETCH(bool, trouble);
        MessageRecorder messages;
        FestaSettingsDialog w;
        w.show();
        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 2"), port);
        s.password = password;
        fill(&w, s);
        click(&w, "bt_testar");
        QVERIFY(!child<QPushButton>(&w, QStringLiteral("bt_testar"))->isEnabled()); // asked off this thread
        auto* state = child<QLabel>(&w, QStringLiteral("l_estado"));
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(&w, QStringLiteral("bt_testar"))->isEnabled(), 10000);
        QVERIFY2(state->text().contains(told), qPrintable(state->text()));
        QCOMPARE(state->styleSheet().contains(QLatin1String("#d00000")), trouble);
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(!QFile::exists(FestaSettings::fileName())); // a test writes nothing
    }

    void salvarKeepsTheSettingsToTheUserAndSairRemovesThem() {
        MessageRecorder messages;
        FestaSettingsDialog w;
        QSignalSpy saved(&w, &FestaSettingsDialog::settingsSaved);
        QSignalSpy left(&w, &FestaSettingsDialog::festaLeft);
        w.show();
        QCOMPARE(child<QSpinBox>(&w, QStringLiteral("edt_porta"))->value(), 5432);
        QVERIFY(!child<QPushButton>(&w, QStringLiteral("bt_sair"))->isEnabled()); // no festa to leave
        QCOMPARE(child<QLineEdit>(&w, QStringLiteral("edt_senha"))->echoMode(), QLineEdit::Password);

        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 2"));
        s.treasurerPassword = TestPgServer::treasurerPassword();
        for (const auto& [host, desk, field] :
             {std::tuple{"  ", "Caixa 2", "edt_servidor"}, std::tuple{"127.0.0.1", " ", "edt_caixa"}}) {
            FestaSettings incomplete = s;
            incomplete.host = QLatin1String(host);
            incomplete.deskName = QLatin1String(desk);
            fill(&w, incomplete);
            click(&w, "bt_salvar");
            QVERIFY(w.isVisible());
            QCOMPARE(w.focusWidget(), child<QLineEdit>(&w, QLatin1String(field)));
        }
        QCOMPARE(messages.messages.size(), 2);
        QVERIFY(saved.isEmpty() && !QFile::exists(FestaSettings::fileName()));

        fill(&w, s);
        child<QLineEdit>(&w, QStringLiteral("edt_servidor"))->setText(QStringLiteral(" 127.0.0.1 "));
        click(&w, "bt_salvar");
        QVERIFY(!w.isVisible());
        QCOMPARE(saved.size(), 1);
        QVERIFY(saved[0][0].value<FestaSettings>() == s);
        QVERIFY(FestaSettings::load() == s);
        const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        QCOMPARE(QFile::permissions(FestaSettings::fileName()) & ~userBits,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        // shown again: the saved festa, which the desk may leave ("Não" keeps it)
        w.show();
        QCOMPARE(child<QLineEdit>(&w, QStringLiteral("edt_senha_tesouraria"))->text(), s.treasurerPassword);
        QCOMPARE(child<QSpinBox>(&w, QStringLiteral("edt_porta"))->value(), s.port);
        click(&w, "bt_sair");
        QVERIFY(FestaSettings::load() && left.isEmpty() && w.isVisible());
        messages.answer = [](const QString& q) { return q.contains(QLatin1String("Sair da festa?")); };
        click(&w, "bt_sair");
        QVERIFY(!QFile::exists(FestaSettings::fileName()));
        QCOMPARE(left.size(), 1);
        QVERIFY(!w.isVisible());
    }

    void theSalesLineFollowsTheUpload() {
        App a;
        Clock::setFixed(QDateTime::currentDateTime()); // the desk's contacts are on the machine's time
        setTillOpen(a);
        TillModel& till = *a.app->till;
        SalesWindow* c = a.app->f_caixa;
        c->show();
        auto* line = child<QLabel>(c, QStringLiteral("l_festa"));
        QVERIFY(line->isHidden()); // no festa

        FestaDesk desk(a.app->dm->database(), till, m_pg->deskSettings(QStringLiteral("Caixa 4")),
                       quickTiming());
        c->setFesta(&desk);
        QVERIFY(line->isVisible());
        sell(till, QStringLiteral("12"));
        QTRY_COMPARE_WITH_TIMEOUT(line->text(), QStringLiteral("Festa: em dia"), 15000);

        // the treasurer's catalogue reaches the desk between two sales, and the line names it
        FestaCatalogue catalogue;
        catalogue.header = QStringLiteral("QUERMESSE");
        catalogue.footer = QStringLiteral("Boa festa");
        catalogue.products = {{QStringLiteral("0"), QStringLiteral("PASTEL"), QStringLiteral("PASTEL"),
                               QStringLiteral("6,00"), 1}};
        FestaPanelModel panel(m_pg->treasurer());
        QSignalSpy published(&panel, &FestaPanelModel::catalogueSaved);
        panel.saveCatalogue(catalogue);
        QVERIFY(published.wait(10000));
        const QString version = published[0][0].toString();
        QTRY_COMPARE_WITH_TIMEOUT(line->text(), QStringLiteral("Festa: em dia · catálogo v") + version,
                                  15000);
        // and the product list shows what is sold now
        const QAbstractItemModel* products = child<QTableView>(c, QStringLiteral("DBGrid1"))->model();
        QCOMPARE(products->index(0, 1).data().toString(), QStringLiteral("PASTEL"));

        // The server gone (a paused proxy in this process would hide the desk's connection from its own
        // stall watch): sales wait, the line says so, and after a minute of it in red and bold.
        m_pg->stopImmediately();
        sell(till, QStringLiteral("00"));
        QTRY_VERIFY_WITH_TIMEOUT(!desk.state().connected && desk.state().waiting > 0, 15000);
        const auto shown = [&] {
            return festaStatusLine(desk.state(), Clock::now()) + QStringLiteral(" · catálogo v") + version;
        };
        QTRY_COMPARE(line->text(), shown());
        QVERIFY(line->text().contains(QStringLiteral(" a enviar — ")));
        QVERIFY(!line->font().bold());
        Clock::setFixed(desk.state().lastContact.addSecs(61));
        emit desk.stateChanged(); // as the desk's own clock does every few seconds
        QCOMPARE(line->text(), shown());
        QVERIFY(line->text().contains(QStringLiteral("servidor sem resposta há 1 min")));
        QVERIFY(line->font().bold());
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(0xd0, 0x00, 0x00));

        QVERIFY(m_pg->start());
        QTRY_COMPARE_WITH_TIMEOUT(line->text(), QStringLiteral("Festa: em dia · catálogo v") + version,
                                  15000);
        QVERIFY(!line->font().bold());
        c->setFesta(nullptr);
        QVERIFY(line->isHidden());
        c->closeTill();
    }

    // The program in a festa: the settings saved make it a desk (its sales line shown, products read-only)
    // and F11 opens the festa's panel; without the treasurer's password it says where to type it.
    void savedSettingsMakeTheProgramADeskWithItsPanel() {
        App a;
        askPanel(a.app->f_principal);
        QVERIFY(a.messages.last().startsWith(QStringLiteral("Este computador não está em uma festa")));
        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 5"));
        s.save();
        a.app->useFesta(s);
        QVERIFY(a.app->f_config->festaMode());
        QVERIFY(!child<QPushButton>(a.app->f_confi_impr, QStringLiteral("SpeedButton1"))->isEnabled());
        askPanel(a.app->f_principal);
        QVERIFY(a.messages.last().startsWith(QStringLiteral("Digite a senha da tesouraria")));
        s.treasurerPassword = TestPgServer::treasurerPassword();
        s.save();
        QString page;
        whenModal(QStringLiteral("f_painel"), [&](QWidget* w) {
            page = w->windowTitle();
            static_cast<QDialog*>(w)->reject();
        });
        askPanel(a.app->f_principal);
        QCOMPARE(page, QStringLiteral("Painel da Festa"));
        a.app->useFesta(std::nullopt);
        QVERIFY(!a.app->f_config->festaMode());
        QVERIFY(child<QPushButton>(a.app->f_confi_impr, QStringLiteral("SpeedButton1"))->isEnabled());
        FestaSettings::remove();
    }

    // F11 on the sales screen: the treasurer's password (typed as it is, a wrong one refused), then the
    // panel over the sale, closed with Esc; the sale is as it was, nothing booked.
    void thePanelOpensOverTheSalesScreen() {
        App a;
        FestaSettings s = m_pg->deskSettings(QStringLiteral("Caixa 6"));
        s.treasurerPassword = TestPgServer::treasurerPassword();
        s.save();
        a.app->useFesta(s);
        setTillOpen(a);
        TillModel& till = *a.app->till;
        SalesWindow* c = a.app->f_caixa;
        QStringList seen;
        whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
            keyActive(Qt::Key_3);
            whenModal(QStringLiteral("f_s_tesouraria"), [&](QWidget* prompt) {
                typeActive(QStringLiteral("errada"));
                keyActive(Qt::Key_Return);
                seen << a.messages.last();
                whenModal(QStringLiteral("f_painel"), [&](QWidget* panel) {
                    seen << panel->windowTitle();
                    seen << (c->isVisible() ? QStringLiteral("caixa visível") : QString());
                    keyActive(Qt::Key_Escape);
                });
                typeActive(TestPgServer::treasurerPassword());
                keyActive(Qt::Key_Return);
                seen << (prompt->isVisible() ? QStringLiteral("senha aberta")
                                             : QStringLiteral("senha fechada"));
            });
            keyActive(Qt::Key_F11);
            c->closeTill();
        });
        c->showModal();
        QCOMPARE(seen, QStringList({QStringLiteral("Senha inválida!"), QStringLiteral("Painel da Festa"),
                                    QStringLiteral("caixa visível"), QStringLiteral("senha fechada")}));
        QCOMPARE(till.saleLines().size(), 1);
        QVERIFY(!till.saleBooked());
        QCOMPARE(a.printer.jobs.size(), 0);
        a.app->useFesta(std::nullopt);
        FestaSettings::remove();
    }

    void inAFestaTheProductsAreOnlyShown() {
        App a;
        ProductsWindow* w = a.app->f_config;
        QSignalSpy festaAsked(a.app->f_administracao, &PasswordsWindow::festaSettingsRequested);
        whenModal(QStringLiteral("f_festa"), [](QWidget* f) { static_cast<QDialog*>(f)->reject(); });
        click(a.app->f_administracao, "bt_festa"); // the administration opens the festa's settings
        QCOMPARE(festaAsked.size(), 1);

        w->setFestaMode(true);
        w->show();
        QVERIFY(child<QLabel>(w, QStringLiteral("l_festa"))->isVisible());
        const QString before =
            a.db.scalar(QStringLiteral("select group_concat(produto || valor) from tbl_produtos"));
        for (const char* name : {"DBEdit2", "DBEdit4", "DBEdit3", "DBEdit5"}) {
            auto* field = child<QLineEdit>(w, QLatin1String(name));
            const QString shown = field->text();
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("9"));
            QTest::keyClick(field, Qt::Key_Backspace);
            QCOMPARE(field->text(), shown);
        }
        QVERIFY(!child<QWidget>(w, QStringLiteral("DBNavigator1"))->isEnabled()); // nothing pending
        // the till counter is this desk's own
        auto* counter = child<QLineEdit>(w, QStringLiteral("DBEdit6"));
        counter->setFocus();
        counter->selectAll();
        QTest::keyClicks(counter, QStringLiteral("41"));
        click(w, "SpeedButton2");
        QCOMPARE(a.db.scalar(QStringLiteral("select cont from tbl_cont")), QStringLiteral("41"));
        click(w, "SpeedButton1");
        QCOMPARE(a.db.scalar(QStringLiteral("select group_concat(produto || valor) from tbl_produtos")),
                 before);

        w->setFestaMode(false);
        w->show();
        QVERIFY(child<QLabel>(w, QStringLiteral("l_festa"))->isHidden());
        auto* name = child<QLineEdit>(w, QStringLiteral("DBEdit2"));
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("X"));
        QVERIFY(child<QWidget>(w, QStringLiteral("DBNavigator1"))->isEnabled());
        w->reject();
    }
};

QUORVANTA_TEST_MAIN(TestFestaDeskGui)
#include "tst_festadesk_gui.moc"
