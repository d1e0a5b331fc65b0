#include "core/reports/withdrawalreceipt.h"
#include "gui/common/passwordprompt.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"
#include "gui/till/withdrawaldialog.h"
#include "support/pdfprobe.h"
#include "support/testsupport.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace TestSupport;

class TestWithdrawalDialog : public QObject {
    Q_OBJECT

    // Opens till 8 with a float of 50 through the opening window, then leaves the sales screen.
    static void openTill(App& app) {
        app.db.exec("update tbl_cont set cont = 7");
        OpeningDialog* f = app.app->f_abertura;
        whenModal("f_abertura", [&](QWidget*) {
            whenModal("f_caixa", [&](QWidget*) { app.app->f_caixa->closeTill(); });
            type(child<QLineEdit>(f, QStringLiteral("edt_responsavel")), "joão");
            type(child<QLineEdit>(f, QStringLiteral("edt_operador")), "maria");
            child<QLineEdit>(f, QStringLiteral("edt_entrada"))->setText("50");
            key(child<QLineEdit>(f, QStringLiteral("edt_entrada")), Qt::Key_Return);
        });
        f->showModal();
        app.printer.jobs.clear();
    }

    // Ctrl+S from the sales screen: the till password, then the withdrawal window, driven by keys.
    // `inWindow` runs in the withdrawal window once the entries are typed (by default it presses Enter
    // in the reason, which withdraws).
    static void withdraw(App& app, const QString& amount, const QString& recipient = "JOSÉ",
                         const QString& reason = "TROCO",
                         std::function<void(WithdrawalDialog*)> inWindow = {}) {
        PasswordPrompt* prompt = app.app->f_s_sangria;
        WithdrawalDialog* s = app.app->f_sangria;
        whenModal("f_s_sangria", [&](QWidget*) {
            whenModal("f_sangria", [&](QWidget*) {
                QTRY_VERIFY(s->isActiveWindow());
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(s, QStringLiteral("edt_retirada")));
                type(child<QLineEdit>(s, QStringLiteral("edt_retirada")), amount);
                key(child<QLineEdit>(s, QStringLiteral("edt_retirada")), Qt::Key_Return);
                type(child<QLineEdit>(s, QStringLiteral("edt_repassa")), recipient);
                key(child<QLineEdit>(s, QStringLiteral("edt_repassa")), Qt::Key_Return);
                type(child<QLineEdit>(s, QStringLiteral("edt_motivo")), reason);
                if (inWindow)
                    inWindow(s);
                else
                    key(child<QLineEdit>(s, QStringLiteral("edt_motivo")), Qt::Key_Return);
            });
            type(child<QLineEdit>(prompt, QStringLiteral("edt_senha")), "574913");
            key(child<QLineEdit>(prompt, QStringLiteral("edt_senha")), Qt::Key_Return);
        });
        prompt->showModal();
        QVERIFY(!s->isVisible());
        QVERIFY(!prompt->isVisible());
    }

    // The three till values a withdrawal changes, and the working count.
    static QStringList figures(App& app) {
        PartialView* p = app.app->f_parcial;
        return {child<QLabel>(current(p), QStringLiteral("lcaixa"))->text(),
                child<QLabel>(current(p), QStringLiteral("lsangria"))->text(),
                child<QLabel>(current(p), QStringLiteral("lcont_sangria"))->text(),
                child<QLineEdit>(current(app.app->f_sangria), QStringLiteral("edt_cont"))->text()};
    }

private slots:
    void withdrawalsLowerTheCashAndPrintAReceipt() {
        App app;
        openTill(app);
        withdraw(app, "10");
        QCOMPARE(figures(app), (QStringList{"40,00", "10,00", "1", "1"}));
        QCOMPARE(app.messages.texts(), QStringList{"Retirada Efetuada com Sucesso!"});
        QCOMPARE(app.printer.jobs.size(), 1);
        const PrintedJob& job = app.printer.jobs.first();
        QCOMPARE(job.report, QStringLiteral("qr_sangria"));
        // clang-format off
        QCOMPARE(job.allTexts,
                 (QStringList{"SANGRIA DE CAIXA", "Festa:", "FESTA DA COMUNIDADE", "Retirada:", "09/12/2026",
                              "|", "14:05:33", "Nº do Caixa:", "8", "Retirada:", "1", QString(53, '*'),
                              "Aberto por:", "JOÃO", "Operador:", "MARIA", "Repassado:", "JOSÉ", "Motivo:",
                              "TROCO", "R$ da Retirada:", "10", QString(74, '-')}));
        // clang-format on
        QCOMPARE((QStringList{job.text("q_ncaixa"), job.text("q_nret"), job.text("qr_valor")}),
                 (QStringList{"8", "1", "10"}));

        withdraw(app, "2,5", QString(), QString());
        QCOMPARE(figures(app), (QStringList{"37,50", "12,50", "2", "2"}));
        QCOMPARE(app.printer.jobs.last().text("qr_valor"), QStringLiteral("2,5"));
        QCOMPARE(app.printer.jobs.last().text("q_nret"), QStringLiteral("2"));
        QCOMPARE(app.printer.jobs.last().text("qr_repassado"), QString());
        QCOMPARE(app.printer.jobs.last().text("qr_motivo"), QString());
    }

    void moreThanTheTillHoldsGoesNegative() {
        App app;
        openTill(app);
        withdraw(app, "60");
        QCOMPARE(figures(app).first(), QStringLiteral("-10,00"));
    }

    void passwordChecks() {
        App app;
        openTill(app);
        app.db.exec("update tbl_senhas set s_caixa = 'abc'");
        PasswordPrompt* prompt = app.app->f_s_sangria;
        whenModal("f_s_sangria", [&](QWidget*) {
            key(child<QLineEdit>(prompt, QStringLiteral("edt_senha")), Qt::Key_Return);
            QCOMPARE(app.messages.messages.last().caption, QStringLiteral("ATENÇÃO!"));
            QCOMPARE(app.messages.last(), QStringLiteral("Preencha o Campo Senha"));
            QVERIFY(prompt->isVisible());
            type(child<QLineEdit>(prompt, QStringLiteral("edt_senha")),
                 "abc"); // arrives as ABC and never matches
            QCOMPARE(child<QLineEdit>(prompt, QStringLiteral("edt_senha"))->text(), QStringLiteral("ABC"));
            key(child<QLineEdit>(prompt, QStringLiteral("edt_senha")), Qt::Key_Return);
            QCOMPARE(app.messages.last(), QStringLiteral("Senha inválida!"));
            QCOMPARE(child<QLineEdit>(prompt, QStringLiteral("edt_senha"))->text(), QString());
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(prompt, QStringLiteral("edt_senha")));
            type(child<QLineEdit>(prompt, QStringLiteral("edt_senha")), "574913");
            QTest::mouseClick(child<QPushButton>(prompt, QStringLiteral("SpeedButton2")), Qt::LeftButton);
        });
        prompt->showModal();
        QCOMPARE(child<QLineEdit>(prompt, QStringLiteral("edt_senha"))->text(), QString());
        QCOMPARE(app.messages.messages.size(), 2);
        QVERIFY(app.printer.jobs.isEmpty());
    }

    void entryFieldsFilterTheirKeys() {
        App app;
        openTill(app);
        withdraw(app, "a-.1x0,5", "um nome bem mais longo que vinte e cinco", "motivo com vinte e seis le",
                 [](WithdrawalDialog* s) {
                     QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_retirada"))->text(),
                              QStringLiteral("10,5"));
                     QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_repassa"))->text(),
                              QStringLiteral("UM NOME BEM MAIS LONGO QUE VINTE E CINCO"));
                     QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_motivo"))->text(),
                              QStringLiteral("MOTIVO COM VINTE E SEIS L"));
                     QTest::mouseClick(child<QPushButton>(s, QStringLiteral("SpeedButton2")), Qt::LeftButton);
                 });
        QCOMPARE(figures(app), (QStringList{"50", "0,00", "0", "0"}));
        QVERIFY(app.printer.jobs.isEmpty());

        // The window shows again with empty entries.
        withdraw(app, QString(), QString(), QString(), [](WithdrawalDialog* s) {
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_retirada"))->text() +
                         child<QLineEdit>(s, QStringLiteral("edt_repassa"))->text() +
                         child<QLineEdit>(s, QStringLiteral("edt_motivo"))->text(),
                     QString());
            s->SpeedButton2Click();
        });
    }

    void malformedAmountChangesNothing() {
        App app;
        openTill(app);
        withdraw(app, "1,,5", "JOSÉ", "TROCO", [&](WithdrawalDialog* s) {
            QTest::mouseClick(child<QPushButton>(s, QStringLiteral("SpeedButton1")), Qt::LeftButton);
            QCOMPARE(app.messages.messages.last().kind, Messages::Kind::Error);
            QVERIFY(s->isVisible());
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_retirada"))->text(), QStringLiteral("1,,5"));
            QCOMPARE(figures(app), (QStringList{"50", "0,00", "0", "0"}));
            QVERIFY(app.printer.jobs.isEmpty());
            s->SpeedButton2Click();
        });
    }

    // A receipt that fails to print must not have withdrawn: the retry withdraws once.
    void printFailureWithdrawsNothingAndTheRetryOnce() {
        App app;
        openTill(app);
        app.printer.failAfter = app.printer.attempts;
        withdraw(app, "10", "JOSÉ", "TROCO", [&](WithdrawalDialog* s) {
            key(child<QLineEdit>(s, QStringLiteral("edt_motivo")), Qt::Key_Return);
            QCOMPARE(app.messages.texts(), QStringList{"Impressora sem papel"});
            QVERIFY(s->isVisible());
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_retirada"))->text(), QStringLiteral("10"));
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("edt_motivo"))->text(), QStringLiteral("TROCO"));
            QCOMPARE(figures(app), (QStringList{"50", "0,00", "0", "0"}));
            app.printer.failAfter = -1;
            QTest::mouseClick(child<QPushButton>(s, QStringLiteral("SpeedButton1")), Qt::LeftButton);
        });
        QCOMPARE(figures(app), (QStringList{"40,00", "10,00", "1", "1"}));
        QCOMPARE(app.printer.jobs.size(), 1);
        QCOMPARE(app.printer.jobs.first().text("q_nret"), QStringLiteral("1"));
    }

    // A reason or recipient too wide for its room prints smaller instead of running off the receipt.
    void wideTextsShrinkToTheirRoom() {
        App app;
        WithdrawalReceipt* r = app.app->qr_sangria;
        r->setReason(QString(25, 'W'));
        const ReportElement& motivo = r->element("qr_motivo");
        QVERIFY(motivo.pointSize < 10);
        QVERIFY(WithdrawalReceipt::textWidthMm(motivo.caption, motivo.pointSize, false) <=
                motivo.width + 0.01);
        r->setReason("TROCO");
        QCOMPARE(r->element("qr_motivo").pointSize, 10.0);
        r->setRecipient("MARIA APARECIDA DOS SANTOS FERREIRA");
        QVERIFY(r->element("qr_repassado").pointSize < 10);
        const ReportElement& repassado = r->element("qr_repassado");
        QVERIFY(repassado.left +
                    WithdrawalReceipt::textWidthMm(repassado.caption, repassado.pointSize, false) <=
                r->bands().first().width + 0.01);
    }

    // Texts too wide even at the smallest readable size wrap inside the receipt: on the printed page
    // every word of them is there and every word lies on the paper.
    void tooLongTextsWrapInsideThePrintedReceipt() {
        if (!PdfProbe::available()) QSKIP("poppler-utils not installed");
        // The page as the program prints it where no printer is installed.
        struct PdfSink : PrintSink {
            QTemporaryDir folder;
            QStringList files;
            PrintJob print(const Report& report) override {
                files << SystemPrintSink::writePdf(report, folder.path());
                return {files.last(), 0};
            }
        } pdf;
        App app;
        openTill(app);
        const QString recipient = QStringLiteral(
            "MARIA APARECIDA DOS SANTOS FERREIRA DE OLIVEIRA E SOUZA CAVALCANTI DE ALBUQUERQUE NETO");
        Printing::setSink(&pdf);
        withdraw(app, "10", recipient, QString(25, QLatin1Char('W')));
        Printing::setSink(&app.printer);
        QCOMPARE(figures(app), (QStringList{"40,00", "10,00", "1", "1"}));
        QCOMPARE(pdf.files.size(), 1);
        const QString file = pdf.files.first();
        const QSizeF pagePt = PdfProbe::pageSizePt(file);
        const QRectF paper(0, 0, pagePt.width() * PdfProbe::mmPerPt, pagePt.height() * PdfProbe::mmPerPt);
        const QList<PdfProbe::Word> words = PdfProbe::words(file);
        QStringList texts;
        for (const PdfProbe::Word& w : words) {
            texts << w.text;
            QVERIFY2(paper.contains(w.mm), qPrintable(QStringLiteral("%1 at %2,%3 - %4,%5 mm")
                                                          .arg(w.text)
                                                          .arg(w.mm.left())
                                                          .arg(w.mm.top())
                                                          .arg(w.mm.right())
                                                          .arg(w.mm.bottom())));
        }
        for (const QString& w : recipient.split(QLatin1Char(' ')))
            QVERIFY2(texts.contains(w), qPrintable(w));
        QVERIFY(texts.contains(QString(25, QLatin1Char('W'))));
        // the wrapped recipient stays above the reason's line
        QVERIFY(PdfProbe::find(words, QStringLiteral("NETO")).bottom() <=
                PdfProbe::find(words, QStringLiteral("Motivo:")).top() + 0.2);
    }
};

QUORVANTA_TEST_MAIN(TestWithdrawalDialog)
#include "tst_withdrawaldialog.moc"
