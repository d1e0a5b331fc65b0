// A whole till from the keyboard, through every window in turn, as a cashier runs it.
#include "core/base/errors.h"
#include "core/db/datamodule.h"
#include "core/till/tillmodel.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/shell/loginwindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/till/closingdialog.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace TestSupport;

class TestFesta : public QObject {
    Q_OBJECT

private slots:
    void loginOpenSellWithdrawCloseFromTheKeyboard() {
        App app;
        Application& f = *app.app;

        f.f_login->show();
        QVERIFY(QTest::qWaitForWindowActive(f.f_login));
        typeActive(QStringLiteral("caixa"));
        keyActive(Qt::Key_Return);
        typeActive(QStringLiteral("1234"));
        keyActive(Qt::Key_Return);
        QVERIFY(f.f_principal->isVisible());
        f.f_principal->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.f_principal));

        QString partialCash, partialCount1;
        bool tillRan = false;
        whenModal(QStringLiteral("f_abertura"), [&](QWidget*) {
            QTRY_VERIFY(child<QLineEdit>(f.f_abertura, QStringLiteral("edt_responsavel"))->hasFocus());
            typeActive(QStringLiteral("maria"));
            keyActive(Qt::Key_Return);
            typeActive(QStringLiteral("jose"));
            keyActive(Qt::Key_Return);
            QTRY_VERIFY(child<QLineEdit>(f.f_abertura, QStringLiteral("edt_entrada"))->hasFocus());
            child<QLineEdit>(f.f_abertura, QStringLiteral("edt_entrada"))->selectAll();
            typeActive(QStringLiteral("50"));
            whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
                QTRY_VERIFY(f.f_caixa->isActiveWindow());
                // a sale: two soft drinks and a beer, paid with 20
                typeActive(QStringLiteral("112"));
                QCOMPARE(child<QLineEdit>(f.f_caixa, QStringLiteral("v_total1"))->text(),
                         QStringLiteral("14,00"));
                typeActive(QStringLiteral("*20"));
                whenModal(QStringLiteral("f_troco"), [&](QWidget*) { keyActive(Qt::Key_Return); });
                keyActive(Qt::Key_Return);
                QTRY_VERIFY(f.f_caixa->isActiveWindow());
                QCOMPARE(child<QLineEdit>(f.f_caixa, QStringLiteral("edt_troco"))->text(),
                         QString()); // a fresh sale

                whenModal(QStringLiteral("f_parcial"), [&](QWidget* w) {
                    partialCash = child<QLabel>(current(f.f_parcial), QStringLiteral("lcaixa"))->text();
                    partialCount1 = current(f.f_parcial)->countLabel(QLatin1Char('1'))->text();
                    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("SpeedButton1")),
                                      Qt::LeftButton);
                });
                keyActive(Qt::Key_P, Qt::ControlModifier);
                QTRY_VERIFY(f.f_caixa->isActiveWindow());

                // a withdrawal of 10 behind the till password
                whenModal(QStringLiteral("f_s_sangria"), [&](QWidget*) {
                    typeActive(QStringLiteral("574913"));
                    whenModal(QStringLiteral("f_sangria"), [&](QWidget*) {
                        typeActive(QStringLiteral("10"));
                        keyActive(Qt::Key_Return);
                        typeActive(QStringLiteral("banco"));
                        keyActive(Qt::Key_Return);
                        typeActive(QStringLiteral("troco"));
                        keyActive(Qt::Key_Return);
                    });
                    keyActive(Qt::Key_Return);
                });
                keyActive(Qt::Key_S, Qt::ControlModifier);
                QTRY_VERIFY(f.f_caixa->isActiveWindow());

                // the closing behind the till password
                whenModal(QStringLiteral("f_s_fechamento"), [&](QWidget*) {
                    typeActive(QStringLiteral("574913"));
                    whenModal(QStringLiteral("f_fechamento"), [&](QWidget*) {
                        QTRY_VERIFY(child<QLineEdit>(f.f_fechamento, QStringLiteral("Edit1"))->hasFocus());
                        typeActive(QStringLiteral("ana"));
                        keyActive(Qt::Key_Return);
                        QTest::mouseClick(child<QPushButton>(f.f_fechamento, QStringLiteral("bt_fechar")),
                                          Qt::LeftButton);
                    });
                    keyActive(Qt::Key_Return);
                });
                keyActive(Qt::Key_F, Qt::ControlModifier);
                tillRan = true;
            });
            keyActive(Qt::Key_Return);
        });
        keyActive(Qt::Key_F2);

        QVERIFY(tillRan);
        QTRY_VERIFY(!f.f_caixa->isVisible());
        QTRY_VERIFY(!f.f_abertura->isVisible());
        QCOMPARE(app.messages.texts(), QStringList({"Retirada Efetuada com Sucesso!"}));
        QCOMPARE(partialCash, QStringLiteral("64,00"));
        QCOMPARE(partialCount1, QStringLiteral("2"));

        QStringList reports;
        for (const PrintedJob& j : app.printer.jobs)
            reports << j.report;
        QCOMPARE(reports, QStringList({"qr_abertura", "qr_fichas", "qr_fichas", "qr_fichas", "qr_sangria",
                                       "qr_fechamento"}));
        const PrintedJob closing = app.printer.jobs.last();
        QCOMPARE(closing.text("q_ncaixa"), QStringLiteral("1"));
        QCOMPARE(closing.text("qr_aberto"), QStringLiteral("MARIA"));
        QCOMPARE(closing.text("qr_operador"), QStringLiteral("JOSE"));
        QCOMPARE(closing.text("qr_fechado"), QStringLiteral("ANA"));
        QCOMPARE(closing.text("qr_entrada"), QStringLiteral("50"));
        QCOMPARE(closing.text("qr_sangria"), QStringLiteral("10,00"));
        QCOMPARE(closing.text("qr_caixa"), QStringLiteral("54,00"));
        QCOMPARE(closing.text("qr_qsangria"), QStringLiteral("1"));
        QCOMPARE(closing.text("qr1"), QStringLiteral("2"));
        QCOMPARE(closing.text("qr2"), QStringLiteral("1"));
        QCOMPARE(closing.text("qr0"), QStringLiteral("0"));
        QCOMPARE(closing.text("pd2"), QStringLiteral("CERVEJA"));

        QCOMPARE(app.db.scalar("select count(*) from tbl_cont_vendas"), QStringLiteral("0"));
        QCOMPARE(app.db.scalar("select count(*) from tbl_vendas"), QStringLiteral("0"));
        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("1"));
        // the backup is rewritten after the sale and again after the withdrawal
        const QString backup = app.db.scalar("select ultcaixa from tbl_base");
        QVERIFY(backup.contains(QStringLiteral("Total Caixa: R$ 54,00\r\n")));
        QVERIFY(backup.contains(QStringLiteral("Total Sangria: 1\r\n")));
        f.f_principal->hide();
    }

    // The program killed with a till open, a sale half printed and a withdrawal receipt in doubt: after
    // the next login the cashier is asked about the receipt (the recording printer cannot tell), the
    // withdrawal is booked as the answer says, and the till comes back on the sales screen with its
    // figures and its sale, and a plain message says so.
    void anOpenTillComesBackAfterARestart() {
        App app;
        setTillOpen(app, QStringLiteral("8"), QStringLiteral("50"));
        bookTallyRow(app, QStringLiteral("1"), 2);
        setTillFigures(app, QStringLiteral("58,00"), QStringLiteral("10,00"), 1);
        app.db.exec("update tbl_produtos set quantidade = 2 where id = '2'");
        app.app->till->addLine(QLatin1Char('2'));
        QVERIFY_THROWS_EXCEPTION(PrintError,
                                 app.app->till->printTickets([&](const TillModel::SaleLine&, const QString&) {
                                     if (app.app->till->ticketsPrinted() == 1)
                                         throw PrintError(QStringLiteral("sem papel"));
                                     return PrintJob{};
                                 }));
        const auto receipt = app.app->till->journal().begin(
            PrintJournal::Kind::Withdrawal,
            QStringLiteral("O recibo da retirada nº 2 (R$ 5,00) do caixa nº 8"),
            {{QStringLiteral("caixa"), 8},
             {QStringLiteral("valor"), QStringLiteral("5,00")},
             {QStringLiteral("sangria"), 2}});
        // it went out, and the program stopped before it knew whether it printed
        QVERIFY_THROWS_EXCEPTION(PrintDoubt,
                                 app.app->till->journal().print(receipt, [](const QString&) -> PrintJob {
                                     throw PrintDoubt(QStringLiteral("a conexão caiu"));
                                 }));
        app.app = std::make_unique<Application>(app.db.path()); // the next start
        Application& f = *app.app;
        app.messages.answer = [](const QString&) { return true; };

        QStringList shown;
        whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
            QTRY_VERIFY(f.f_caixa->isActiveWindow());
            shown << f.till->numberText() << child<QLineEdit>(f.f_caixa, QStringLiteral("v_total1"))->text()
                  << QString::number(
                         child<SaleGrid>(f.f_caixa, QStringLiteral("DBGrid2"))->model()->rowCount());
            whenModal(QStringLiteral("f_parcial"), [&](QWidget* w) {
                shown << child<QLabel>(current(f.f_parcial), QStringLiteral("lcaixa"))->text()
                      << child<QLabel>(current(f.f_parcial), QStringLiteral("lsangria"))->text()
                      << child<QLabel>(current(f.f_parcial), QStringLiteral("lcont_sangria"))->text()
                      << current(f.f_parcial)->countLabel(QLatin1Char('1'))->text();
                static_cast<QDialog*>(w)->accept();
            });
            keyActive(Qt::Key_P, Qt::ControlModifier);
            // the cashier confirms the sale: only the ticket not yet printed prints
            typeActive(QStringLiteral("*"));
            whenModal(QStringLiteral("f_troco"), [&](QWidget*) { keyActive(Qt::Key_Return); });
            keyActive(Qt::Key_Return);
            QTRY_VERIFY(f.f_caixa->isActiveWindow());
            f.f_caixa->closeTill();
        });
        f.f_login->show();
        QVERIFY(QTest::qWaitForWindowActive(f.f_login));
        typeActive(QStringLiteral("caixa"));
        keyActive(Qt::Key_Return);
        typeActive(QStringLiteral("1234"));
        keyActive(Qt::Key_Return);
        QTRY_COMPARE(shown.size(), 7);
        QCOMPARE(shown, QStringList({"8", "6,00", "1", "53,00", "15,00", "2", "2"}));
        QCOMPARE(app.messages.texts().mid(0, 3),
                 QStringList(
                     {QStringLiteral("O recibo da retirada nº 2 (R$ 5,00) do caixa nº 8 saiu na impressora?"),
                      QStringLiteral("A retirada nº 2 de R$ 5,00 foi registrada: o recibo dela saiu na "
                                     "impressora antes de o programa parar."),
                      QStringLiteral("O caixa Nº 8, aberto em 09/12/2026 às 13:00:00, não foi fechado e foi "
                                     "recuperado com todos os seus valores e a venda em andamento.")}));
        QCOMPARE(app.printer.jobsOf(QStringLiteral("qr_fichas")).size(), 1);
        QCOMPARE(app.app->till->cash(), QStringLiteral("59,00"));
        f.f_principal->hide();
    }
};

QUORVANTA_TEST_MAIN(TestFesta)
#include "tst_festa.moc"
