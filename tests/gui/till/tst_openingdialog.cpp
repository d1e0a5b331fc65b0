#include "core/db/datamodule.h"
#include "core/reports/openingreport.h"
#include "core/till/productkeys.h"
#include "core/till/tillmodel.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"
#include "gui/till/withdrawaldialog.h"
#include "support/testsupport.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace TestSupport;

class TestOpeningDialog : public QObject {
    Q_OBJECT

    // What an earlier till left behind: a tally, counts and withdrawals.
    static void leaveEarlierTill(App& app) {
        setTillOpen(app, QStringLiteral("7"), QStringLiteral("20"));
        bookTallyRow(app, QStringLiteral("1"), 3);
        bookTallyRow(app, QStringLiteral("j"), 9);
        setTillFigures(app, QStringLiteral("31,00"), QStringLiteral("10,00"), 2);
    }

    // Types the names and the float the way a cashier does and presses Enter in the float.
    static void fillAndEnter(OpeningDialog* f, const QString& responsavel, const QString& operador,
                             const QString& entrada) {
        QTRY_VERIFY(f->isActiveWindow());
        type(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), responsavel);
        key(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), Qt::Key_Return);
        type(child<QLineEdit>(f, QStringLiteral("edt_operador")), operador);
        key(child<QLineEdit>(f, QStringLiteral("edt_operador")), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_entrada")));
        type(child<QLineEdit>(f, QStringLiteral("edt_entrada")), entrada);
        key(child<QLineEdit>(f, QStringLiteral("edt_entrada")), Qt::Key_Return);
    }

    // For an opening that must stop: should the sales screen show, the test fails and it closes.
    static void refuseSalesScreen(App& app) {
        SalesWindow* c = app.app->f_caixa;
        QTimer::singleShot(0, c, [c] {
            if (c->isVisible()) {
                QTest::qFail("the sales screen showed", __FILE__, __LINE__);
                c->closeTill();
            }
        });
    }

    static QStringList texts(const QList<QWidget*>& widgets) {
        QStringList out;
        for (QWidget* w : widgets)
            out << w->property("text").toString();
        return out;
    }

    static bool stillBefore(App& app) {
        PartialView* p = app.app->f_parcial;
        return app.db.scalar("select cont from tbl_cont") == "7" &&
               app.db.scalar("select count(*) from tbl_cont_vendas") == "2" &&
               current(p)->countLabel(QLatin1Char('j'))->text() == "9" &&
               child<QLabel>(current(p), QStringLiteral("lcaixa"))->text() == "31,00" &&
               child<QLineEdit>(current(app.app->f_sangria), QStringLiteral("edt_cont"))->text() == "2" &&
               app.app->till->numberText() == "7" && app.printer.jobs.isEmpty();
    }

private slots:
    void openingTakesTheNextNumberAndResetsTheTill() {
        App app;
        leaveEarlierTill(app);
        OpeningDialog* f = app.app->f_abertura;
        PartialView* p = app.app->f_parcial;
        WithdrawalDialog* s = app.app->f_sangria;
        bool sawSales = false;
        whenModal("f_abertura", [&](QWidget*) {
            whenModal("f_caixa", [&](QWidget*) {
                sawSales = true;
                app.app->f_caixa->closeTill();
            });
            fillAndEnter(f, "joão", "maria", "50");
        });
        f->showModal();
        QVERIFY(sawSales);
        QVERIFY(!f->isVisible());

        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("8"));
        QCOMPARE(app.db.scalar("select count(*) from tbl_cont_vendas"), QStringLiteral("0"));
        const TillModel& till = *app.app->till;
        QCOMPARE((QStringList{till.numberText(), till.till().responsible, till.till().operatorName,
                              till.till().floatText, till.till().openDate, till.till().openTime}),
                 (QStringList{"8", "JOÃO", "MARIA", "50", "09/12/2026", "14:05:33"}));
        QCOMPARE(texts({child<QLineEdit>(current(s), QStringLiteral("edt_caixa")),
                        child<QLineEdit>(current(s), QStringLiteral("edt_responsavel")),
                        child<QLineEdit>(current(s), QStringLiteral("edt_operador")),
                        child<QLineEdit>(current(s), QStringLiteral("edt_cont"))}),
                 (QStringList{"8", "JOÃO", "MARIA", "0"}));
        QCOMPARE(texts({child<QLabel>(current(p), QStringLiteral("lentrada")),
                        child<QLabel>(current(p), QStringLiteral("lcaixa")),
                        child<QLabel>(current(p), QStringLiteral("lcont_sangria"))}),
                 (QStringList{"50", "50", "0"}));
        for (const QChar k : ProductKeys::all())
            QCOMPARE(current(p)->countLabel(k)->text(), QStringLiteral("0"));

        QCOMPARE(app.printer.jobs.size(), 1);
        const PrintedJob& job = app.printer.jobs.first();
        QCOMPARE(job.report, QStringLiteral("qr_abertura"));
        // clang-format off
        QCOMPARE(job.allTexts.mid(0, 17),
                 (QStringList{"ABERTURA DE CAIXA", "Festa:", "FESTA DA COMUNIDADE", "Abertura:",
                              "09/12/2026", "|", "14:05:33", "Nº do Caixa:", "8", QString(53, '*'),
                              "Aberto por:", "JOÃO", "Operador:", "MARIA", "R$ de Entrada:", "50",
                              QString(74, '-')}));
        // clang-format on
        QVERIFY(job.text("qr_credito").startsWith("Desenvolvido por: "));

        // The next showing starts afresh, and the next till is number 9 with an untouched float.
        whenModal("f_abertura", [&](QWidget*) {
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("edt_responsavel"))->text(), QString());
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("edt_operador"))->text(), QString());
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("edt_entrada"))->text(), QStringLiteral("0,00"));
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_responsavel")));
            whenModal("f_caixa", [&](QWidget*) { app.app->f_caixa->closeTill(); });
            fillAndEnter(f, "ANA", "BIA", QString());
        });
        f->showModal();
        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("9"));
        QCOMPARE(app.printer.jobs.last().text("qr_entrada"), QStringLiteral("0,00"));
        QCOMPARE(child<QLabel>(current(p), QStringLiteral("lcaixa"))->text(), QStringLiteral("0,00"));
    }

    void reportLayout() {
        App app;
        OpeningReport* r = app.app->qr_abertura;
        QCOMPARE(r->pageSizeMm(), QSizeF(89.96, 117.21));
        QCOMPARE(r->bands().size(), 1);
        QCOMPARE(r->bands().first().height, 95.51);
        QCOMPARE(r->bands().first().width, 87.84);
        struct Row {
            const char* name;
            double left, top, width, size;
            bool bold;
        };
        const Row rows[] = {{"qr_titulo", -0.26, 0.79, 80.43, 12, true},
                            {"qr_lfesta", 4.23, 10.58, 10.32, 10, true},
                            {"qr_cabecalho", 6.35, 16.93, 15.88, 10, false},
                            {"qr_labertura", 4.23, 23.28, 15.88, 10, true},
                            {"qr_data", 10.58, 29.63, 11.64, 10, false},
                            {"qr_separador", 33.60, 29.63, 1.06, 10, false},
                            {"qr_hora", 38.10, 29.63, 11.64, 10, false},
                            {"qr_lncaixa", 4.23, 38.10, 21.17, 10, true},
                            {"q_ncaixa", 26.19, 38.36, 14.02, 10, false},
                            {"qr_asteriscos", 2.12, 46.30, 70.38, 10, false},
                            {"qr_laberto", 4.23, 53.18, 19.05, 10, true},
                            {"qr_responsavel", 24.61, 53.18, 23.02, 10, false},
                            {"qr_loperador", 4.23, 61.12, 17.20, 10, true},
                            {"qr_operador", 23.02, 61.12, 18.26, 10, false},
                            {"qr_lentrada", 4.23, 69.59, 24.87, 10, true},
                            {"qr_entrada", 30.69, 69.59, 12.17, 10, false},
                            {"qr_hifens", 1.32, 83.08, 78.58, 10, true},
                            {"qr_credito", 6.88, 88.37, 65.88, 9, true}};
        QCOMPARE(r->elements().size(), int(std::size(rows)));
        for (const Row& row : rows) {
            const ReportElement& e = r->element(row.name);
            QCOMPARE(e.left, row.left);
            QCOMPARE(e.top, row.top);
            QCOMPARE(e.width, row.width);
            QCOMPARE(e.pointSize, row.size);
            QCOMPARE(e.bold, row.bold);
            QCOMPARE(e.height, QByteArray(row.name) == "qr_titulo" ? 5.29 : 4.5);
            QCOMPARE(e.autoSize, QByteArray(row.name) != "qr_titulo");
        }
        QCOMPARE(r->element("qr_titulo").alignment, Qt::AlignHCenter);
        QCOMPARE(r->element("qr_cabecalho").kind, ReportElement::Kind::DBText);
        QCOMPARE(r->element("qr_cabecalho").dataset, app.app->dm->q_festa);
    }

    void emptyNamesAreRefusedWhenLeft() {
        App app;
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            QTRY_VERIFY(f->isActiveWindow());
            key(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), Qt::Key_Tab);
            QCOMPARE(app.messages.texts(), QStringList{"O campo RESPONSÁVEL não pode ficar em branco"});
            QCOMPARE(app.messages.messages.first().caption, QStringLiteral("Quorvanta 3.0"));
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_responsavel")));
            type(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), " ");
            key(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), Qt::Key_Return); // a space is a name
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_operador")));
            QTest::mouseClick(child<QLineEdit>(f, QStringLiteral("edt_entrada")), Qt::LeftButton);
            QCOMPARE(app.messages.texts().last(),
                     QStringLiteral("O campo OPERADOR não pode ficar em branco"));
            QCOMPARE(app.messages.messages.size(), 2);
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_operador")));
            // Leaving by "Cancelar" is no exit from the field.
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("SpeedButton2")), Qt::LeftButton);
        });
        f->showModal();
        QCOMPARE(app.messages.messages.size(), 2);
    }

    void floatFieldTakesOnlyAmountKeys() {
        App app;
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            child<QLineEdit>(f, QStringLiteral("edt_entrada"))->clear();
            type(child<QLineEdit>(f, QStringLiteral("edt_entrada")), "a-.1x2,,5 ");
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("edt_entrada"))->text(), QStringLiteral("12,,5"));
            key(child<QLineEdit>(f, QStringLiteral("edt_entrada")), Qt::Key_Backspace);
            QCOMPARE(child<QLineEdit>(f, QStringLiteral("edt_entrada"))->text(), QStringLiteral("12,,"));
            f->SpeedButton2Click();
        });
        f->showModal();
    }

    void cancelAndCloseBoxChangeNothing() {
        App app;
        leaveEarlierTill(app);
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            type(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), "JOÃO");
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("SpeedButton2")), Qt::LeftButton);
        });
        f->showModal();
        whenModal("f_abertura", [&](QWidget* w) { w->close(); });
        f->showModal();
        QVERIFY(stillBefore(app));
    }

    // A float that is no amount would let every later sale fail after printing its tickets.
    void malformedFloatIsRefusedBeforeAnythingChanges() {
        QFETCH(QString, entrada);
        App app;
        leaveEarlierTill(app);
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            refuseSalesScreen(app);
            fillAndEnter(f, "JOÃO", "MARIA", entrada);
            QVERIFY(f->isVisible());
            QCOMPARE(app.messages.texts(), QStringList{"O campo ENTRADA deve conter um valor válido"});
            QCOMPARE(app.messages.messages.first().kind, Messages::Kind::Plain);
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(f, QStringLiteral("edt_entrada")));
            QVERIFY(stillBefore(app));
            QCOMPARE(app.app->till->till().responsible, QStringLiteral("MARIA")); // the earlier till
            f->SpeedButton2Click();
        });
        f->showModal();
        QVERIFY(stillBefore(app));
    }
    void malformedFloatIsRefusedBeforeAnythingChanges_data() {
        QTest::addColumn<QString>("entrada");
        QTest::newRow("empty") << QString("\b\b\b\b");
        QTest::newRow("comma") << QString(",");
        QTest::newRow("two commas") << QString("1,,5");
        QTest::newRow("too many digits") << QString(400, '9');
    }

    // The printer failing leaves the window up, the sales screen unshown and nothing stored: the next
    // try takes the same till number.
    void printerFailureStopsTheOpening() {
        App app;
        app.printer.failAfter = 0;
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            refuseSalesScreen(app);
            fillAndEnter(f, "JOÃO", "MARIA", "50");
            QVERIFY(f->isVisible());
            QCOMPARE(app.messages.messages.last().kind, Messages::Kind::Error);
            QCOMPARE(app.messages.last(), QStringLiteral("Impressora sem papel"));
            f->SpeedButton2Click();
        });
        f->showModal();
        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("0"));
        QVERIFY(!app.app->till->isOpen());
    }
};

QUORVANTA_TEST_MAIN(TestOpeningDialog)
#include "tst_openingdialog.moc"
