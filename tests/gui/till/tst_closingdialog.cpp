#include "core/base/clock.h"
#include "core/db/datamodule.h"
#include "core/db/dataset.h"
#include "core/reports/closingreport.h"
#include "core/till/productkeys.h"
#include "core/till/tillmodel.h"
#include "gui/common/passwordprompt.h"
#include "gui/sales/saleswindow.h"
#include "gui/shell/application.h"
#include "gui/till/closingdialog.h"
#include "gui/till/partialview.h"
#include "support/testsupport.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

using namespace TestSupport;

namespace {

const QString password = QStringLiteral("574913"); // the till password of the delivered database

// The till's figures as the opening, the sales and the withdrawals leave them.
struct Till {
    App& app;
    PartialView* p;

    explicit Till(App& a) : app(a), p(a.app->f_parcial) {}

    void open(const QString& number, const QString& entrada) {
        setTillOpen(app, number, entrada);
        p->bt_filtrarClick();
    }
    // One completed sale line: booked into the tally, its value added to the cash.
    void sell(const char* id, int quantidade, const QString& cash) {
        bookTallyRow(app, QLatin1String(id), quantidade);
        setTillFigures(app, cash);
    }
    void withdraw(const QString& cash, const QString& total, const QString& count) {
        setTillFigures(app, cash, total, count.toInt());
    }
    // What the sales screen's Ctrl+F does before asking the password.
    void ctrlF() {
        const TillModel& till = *app.app->till;
        ClosingReport* r = app.app->qr_fechamento;
        r->setCaption(QStringLiteral("qr_aberto"), till.till().responsible);
        r->setCaption(QStringLiteral("qr_operador"), till.till().operatorName);
        r->setCaption(QStringLiteral("qr_entrada"), till.till().floatText);
        child<QLabel>(app.app->f_fechamento, QStringLiteral("lncaixa"))->setText(till.numberText());
    }
    int tallyRows() const {
        return app.db.scalar(QStringLiteral("select count(*) from tbl_cont_vendas")).toInt();
    }
};

// Shows the sales screen and runs `during` inside it. Tells whether the sales screen was still open
// afterwards (it is then closed here).
bool withSalesScreen(App& app, const std::function<void()>& during) {
    bool stillOpen = false;
    whenModal(QStringLiteral("f_caixa"), [&](QWidget* w) {
        during();
        stillOpen = w->isVisible();
        if (stillOpen) app.app->f_caixa->closeTill();
    });
    app.app->f_caixa->showModal();
    return stillOpen;
}

// Asks the closing: the password typed and Enter in the prompt; `inClosing`, when given, drives the
// closing window, which must then show. Windows left open are cancelled; the result tells which were.
struct Closing {
    bool promptLeftOpen = false;
    bool closingShown = false;
    bool closingLeftOpen = false;
};

// While alive, notes a showing of the window and cancels it at once.
class UnexpectedShow : public QObject {
public:
    UnexpectedShow(QDialog* dialog, bool& shown, bool active = true) : m_dialog(dialog), m_shown(shown) {
        if (active) dialog->installEventFilter(this);
    }
    ~UnexpectedShow() override { m_dialog->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            m_shown = true;
            QMetaObject::invokeMethod(m_dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QDialog* m_dialog;
    bool& m_shown;
};

Closing askClosing(App& app, const QString& typed,
                   const std::function<void(ClosingDialog*)>& inClosing = {}) {
    Closing result;
    whenModal(QStringLiteral("f_s_fechamento"), [&](QWidget* prompt) {
        auto* edt = child<QLineEdit>(prompt, QStringLiteral("edt_Senha"));
        // Without a driver the closing window must not show; if it does, it is noted and cancelled.
        UnexpectedShow unexpected(app.app->f_fechamento, result.closingShown, !inClosing);
        if (inClosing)
            whenModal(QStringLiteral("f_fechamento"), [&](QWidget* w) {
                result.closingShown = true;
                inClosing(app.app->f_fechamento);
                result.closingLeftOpen = w->isVisible();
                if (result.closingLeftOpen)
                    QTest::mouseClick(child<QPushButton>(w, QStringLiteral("SpeedButton1")), Qt::LeftButton);
            });
        type(edt, typed);
        key(edt, Qt::Key_Return);
        result.promptLeftOpen = prompt->isVisible();
        if (result.promptLeftOpen)
            QTest::mouseClick(child<QPushButton>(prompt, QStringLiteral("SpeedButton2")), Qt::LeftButton);
    });
    app.app->f_s_fechamento->showModal();
    return result;
}

void nameAndClose(ClosingDialog* f, const QString& name) {
    type(child<QLineEdit>(f, QStringLiteral("Edit1")), name);
    key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
    QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
}

} // namespace

class TestClosingDialog : public QObject {
    Q_OBJECT

private slots:
    void closingPrintsTheTillAndEmptiesTheTally() {
        App app;
        app.db.exec("update tbl_produtos set produto = 'ESPETINHO DE FRANGO GRAND' where id = 'a'");
        app.db.exec("update tbl_cont set cont = 8");
        const QString backupBefore = app.db.scalar("select ultcaixa from tbl_base");
        Till till(app);
        Closing c;
        const bool salesScreenOpen = withSalesScreen(app, [&] {
            till.open(QStringLiteral("8"), QStringLiteral("50"));
            till.sell("1", 2, QStringLiteral("58,00"));
            till.sell("1", 3, QStringLiteral("70,00"));
            till.withdraw(QStringLiteral("60,00"), QStringLiteral("10,00"), QStringLiteral("1"));
            till.sell("a", 1, QStringLiteral("70,00"));
            till.sell("0", 4, QStringLiteral("78,00"));
            till.withdraw(QStringLiteral("75,50"), QStringLiteral("12,50"), QStringLiteral("2"));
            // the labels may lag behind the tally: the closing recounts
            current(till.p)->countLabel(QLatin1Char('1'))->setText(QStringLiteral("2"));
            till.ctrlF();
            c = askClosing(app, password,
                           [](ClosingDialog* f) { nameAndClose(f, QStringLiteral("ana paula")); });
        });
        QVERIFY(c.closingShown);
        QVERIFY(!c.closingLeftOpen);
        QVERIFY(!c.promptLeftOpen);
        QVERIFY(!salesScreenOpen);
        QVERIFY(app.messages.messages.isEmpty());

        const auto jobs = app.printer.jobsOf(QStringLiteral("qr_fechamento"));
        QCOMPARE(jobs.size(), 1);
        const PrintedJob& job = jobs.first();
        QCOMPARE(job.text("QRDBText1"), QStringLiteral("FESTA DA COMUNIDADE"));
        QCOMPARE(job.text("qr_data"), QStringLiteral("09/12/2026"));
        QCOMPARE(job.text("qr_hora"), QStringLiteral("14:05:33"));
        QCOMPARE(job.text("q_ncaixa"), QStringLiteral("8"));
        QCOMPARE(job.text("qr_aberto"), QStringLiteral("MARIA"));
        QCOMPARE(job.text("qr_fechado"), QStringLiteral("ANA PAULA"));
        QCOMPARE(job.text("qr_operador"), QStringLiteral("JOSE"));
        QCOMPARE(job.text("qr_entrada"), QStringLiteral("50"));
        QCOMPARE(job.text("qr_sangria"), QStringLiteral("12,50"));
        QCOMPARE(job.text("qr_caixa"), QStringLiteral("75,50"));
        QCOMPARE(job.text("qr_qsangria"), QStringLiteral("2"));
        QCOMPARE(job.text("qr1"), QStringLiteral("5"));
        QCOMPARE(job.text("pd1"), QStringLiteral("REFRIGERANTE"));
        QCOMPARE(job.text("qra"), QStringLiteral("1"));
        QCOMPARE(job.text("pda"), QStringLiteral("ESPETINHO DE FRANGO GRAND"));
        QCOMPARE(job.text("qr0"), QStringLiteral("4"));
        QCOMPARE(job.text("pd0"), QStringLiteral("ÁGUA"));
        QCOMPARE(job.text("qr2"), QStringLiteral("0"));
        QCOMPARE(job.text("pd2"), QStringLiteral("CERVEJA"));
        QCOMPARE(job.text("qrj"), QStringLiteral("0"));

        // the tally is empty, the counter and the backup untouched, the figures still the closed till's
        QCOMPARE(till.tallyRows(), 0);
        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("8"));
        QCOMPARE(app.db.scalar("select ultcaixa from tbl_base"), backupBefore);
        QCOMPARE(child<QLabel>(current(till.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("75,50"));
        QCOMPARE(current(till.p)->countLabel(QLatin1Char('1'))->text(), QStringLiteral("5"));
        QVERIFY(!app.app->f_fechamento->isVisible());
        QVERIFY(!app.app->f_s_fechamento->isVisible());
        // the history keeps the till, not counted
        QCOMPARE(app.db.rows("select numero, fechado_por, esperado_centavos, contado_centavos is null "
                             "from tbl_hist_caixas"),
                 QList<QStringList>({{"8", "ANA PAULA", "7550", "1"}}));
    }

    // "Dinheiro contado": an amount goes into the history beside the cash expected; one that is no amount
    // is refused before anything prints, and the till stays open.
    void countedCashGoesIntoTheHistory() {
        App app;
        Till till(app);
        till.open(QStringLiteral("4"), QStringLiteral("50"));
        till.sell("1", 1, QStringLiteral("58,00"));
        till.ctrlF();
        const Closing refused = askClosing(app, password, [&](ClosingDialog* f) {
            type(child<QLineEdit>(f, QStringLiteral("Edit1")), QStringLiteral("ana"));
            key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
            QVERIFY(child<QLineEdit>(f, QStringLiteral("edt_contado"))->hasFocus());
            type(child<QLineEdit>(f, QStringLiteral("edt_contado")), QStringLiteral("5,5,5"));
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
        });
        QVERIFY(refused.closingLeftOpen);
        QCOMPARE(app.messages.last(), QStringLiteral("Dinheiro contado inválido: \"5,5,5\""));
        QVERIFY(app.printer.jobs.isEmpty());
        QVERIFY(app.app->till->isOpen());

        withSalesScreen(app, [&] {
            till.ctrlF();
            askClosing(app, password, [&](ClosingDialog* f) {
                QVERIFY(child<QLineEdit>(f, QStringLiteral("edt_contado"))
                            ->text()
                            .isEmpty()); // emptied at each showing
                type(child<QLineEdit>(f, QStringLiteral("Edit1")), QStringLiteral("ana"));
                key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
                type(child<QLineEdit>(f, QStringLiteral("edt_contado")),
                     QStringLiteral("R$ 55,50")); // the filter keeps digits and the comma
                // the clock moves on while the window is up: report and history take one moment
                Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58)));
                QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
            });
        });
        QVERIFY(!app.app->till->isOpen());
        QCOMPARE(app.printer.jobsOf(QStringLiteral("qr_fechamento")).size(), 1);
        QCOMPARE(app.db.rows("select esperado_centavos, contado_centavos from tbl_hist_caixas"),
                 QList<QStringList>({{"5800", "5550"}}));
        QCOMPARE(app.printer.jobsOf(QStringLiteral("qr_fechamento")).first().text("qr_hora"),
                 QStringLiteral("23:59:58"));
        QVERIFY(app.db.scalar("select fechado_em from tbl_hist_caixas").contains(QStringLiteral("23:59:58")));
    }

    void tillWithoutSalesPrintsZeroForEveryKeyAndAnEmptyNameIsAccepted() {
        App app;
        Till till(app);
        withSalesScreen(app, [&] {
            till.open(QStringLiteral("1"), QStringLiteral("0,00"));
            till.ctrlF();
            askClosing(app, password, [](ClosingDialog* f) { nameAndClose(f, QString()); });
        });
        const auto jobs = app.printer.jobsOf(QStringLiteral("qr_fechamento"));
        QCOMPARE(jobs.size(), 1);
        const PrintedJob& job = jobs.first();
        for (const QChar k : ProductKeys::all()) {
            QCOMPARE(job.text(QStringLiteral("qr") + k), QStringLiteral("0"));
            QCOMPARE(job.text(QStringLiteral("pd") + k), current(till.p)->nameLabel(k)->text());
        }
        QCOMPARE(job.text("pd5"), QStringLiteral("PIPOCA"));
        QCOMPARE(job.text("pd6"), QString());
        QCOMPARE(job.text("qr_fechado"), QString());
        QCOMPARE(job.text("qr_sangria"), QStringLiteral("0,00"));
        QCOMPARE(job.text("qr_qsangria"), QStringLiteral("0"));
    }

    void fecharWorksOnlyAfterEnterInTheNameDuringThatShowing() {
        App app;
        Till till(app);
        till.open(QStringLiteral("3"), QStringLiteral("20"));
        till.sell("2", 1, QStringLiteral("26,00"));
        ClosingDialog* f = app.app->f_fechamento;

        bool disabledAtFirst = false, stillOpenAfterClick = false, enabledAfterEnter = false;
        bool secondEnterClosed = false;
        whenModal(QStringLiteral("f_fechamento"), [&](QWidget* w) {
            QTRY_VERIFY(child<QLineEdit>(f, QStringLiteral("Edit1"))->hasFocus());
            disabledAtFirst = !child<QPushButton>(f, QStringLiteral("bt_fechar"))->isEnabled();
            type(child<QLineEdit>(f, QStringLiteral("Edit1")), QStringLiteral("JOAO"));
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
            f->bt_fecharClick(); // nor from code
            stillOpenAfterClick = w->isVisible();
            key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
            enabledAfterEnter = child<QPushButton>(f, QStringLiteral("bt_fechar"))->isEnabled();
            key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return); // Enter never presses it
            secondEnterClosed = !w->isVisible();
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("SpeedButton1")), Qt::LeftButton);
        });
        f->showModal();
        QVERIFY(disabledAtFirst);
        QVERIFY(stillOpenAfterClick);
        QVERIFY(enabledAfterEnter);
        QVERIFY(!secondEnterClosed);
        QVERIFY(app.printer.jobs.isEmpty());

        // the next showing starts over: disabled, name emptied, focus in the name
        bool reset = false;
        whenModal(QStringLiteral("f_fechamento"), [&](QWidget*) {
            QTRY_VERIFY(child<QLineEdit>(f, QStringLiteral("Edit1"))->hasFocus());
            reset = !child<QPushButton>(f, QStringLiteral("bt_fechar"))->isEnabled() &&
                    child<QLineEdit>(f, QStringLiteral("Edit1"))->text().isEmpty();
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("SpeedButton1")), Qt::LeftButton);
        });
        f->showModal();
        QVERIFY(reset);
        QVERIFY(app.printer.jobs.isEmpty());
        QCOMPARE(till.tallyRows(), 1);
        // the buttons never take the focus
        QCOMPARE(child<QPushButton>(f, QStringLiteral("bt_fechar"))->focusPolicy(), Qt::NoFocus);
        QCOMPARE(child<QPushButton>(f, QStringLiteral("SpeedButton1"))->focusPolicy(), Qt::NoFocus);
    }

    void cancelAnywhereChangesNothing() {
        App app;
        app.db.exec("update tbl_cont set cont = 4");
        Till till(app);
        Closing inPrompt, inWindow, byCloseBox;
        const bool salesScreenOpen = withSalesScreen(app, [&] {
            till.open(QStringLiteral("4"), QStringLiteral("30"));
            till.sell("3", 2, QStringLiteral("45,00"));
            till.withdraw(QStringLiteral("40,00"), QStringLiteral("5,00"), QStringLiteral("1"));
            till.ctrlF();
            // "Cancelar" in the prompt, with a password typed
            whenModal(QStringLiteral("f_s_fechamento"), [&](QWidget* w) {
                auto* edt = child<QLineEdit>(w, QStringLiteral("edt_Senha"));
                type(edt, password);
                QTest::mouseClick(child<QPushButton>(w, QStringLiteral("SpeedButton2")), Qt::LeftButton);
                inPrompt.promptLeftOpen = w->isVisible();
            });
            app.app->f_s_fechamento->showModal();
            QVERIFY(child<QLineEdit>(app.app->f_s_fechamento, QStringLiteral("edt_Senha"))->text().isEmpty());
            // "Cancelar" in the closing window after the name was confirmed
            inWindow = askClosing(app, password, [](ClosingDialog* f) {
                type(child<QLineEdit>(f, QStringLiteral("Edit1")), QStringLiteral("ANA"));
                key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
                QTest::mouseClick(child<QPushButton>(f, QStringLiteral("SpeedButton1")), Qt::LeftButton);
            });
            // the close box of the closing window
            byCloseBox = askClosing(app, password, [](ClosingDialog* f) {
                type(child<QLineEdit>(f, QStringLiteral("Edit1")), QStringLiteral("ANA"));
                key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
                f->close();
            });
        });
        QVERIFY(!inPrompt.promptLeftOpen);
        QVERIFY(inWindow.closingShown && !inWindow.closingLeftOpen && !inWindow.promptLeftOpen);
        QVERIFY(byCloseBox.closingShown && !byCloseBox.closingLeftOpen && !byCloseBox.promptLeftOpen);
        QVERIFY(salesScreenOpen);
        QVERIFY(app.printer.jobs.isEmpty());
        QVERIFY(app.messages.messages.isEmpty());
        QCOMPARE(till.tallyRows(), 1);
        QCOMPARE(app.db.scalar("select cont from tbl_cont"), QStringLiteral("4"));
        QCOMPARE(child<QLabel>(current(till.p), QStringLiteral("lcaixa"))->text(), QStringLiteral("40,00"));
        QCOMPARE(child<QLabel>(current(till.p), QStringLiteral("lsangria"))->text(), QStringLiteral("5,00"));
        QCOMPARE(child<QLabel>(current(till.p), QStringLiteral("lcont_sangria"))->text(),
                 QStringLiteral("1"));
    }

    void passwordChecks() {
        App app;
        Till till(app);
        till.open(QStringLiteral("2"), QStringLiteral("10"));
        till.sell("1", 1, QStringLiteral("14,00"));
        auto* prompt = app.app->f_s_fechamento;
        auto* edt = child<QLineEdit>(prompt, QStringLiteral("edt_Senha"));
        QCOMPARE(prompt->windowTitle(), QStringLiteral("Fechamento de Caixa"));
        QCOMPARE(child<QPushButton>(prompt, QStringLiteral("bt_fechar"))->text(), QStringLiteral("Fechar"));
        QCOMPARE(edt->echoMode(), QLineEdit::Password);

        QStringList afterEmpty, afterWrong;
        bool openAfterWrong = false;
        QString editAfterWrong = QStringLiteral("?");
        Closing c;
        whenModal(QStringLiteral("f_s_fechamento"), [&](QWidget* w) {
            key(edt, Qt::Key_Return);
            afterEmpty = app.messages.texts();
            app.messages.clear();
            type(edt, QStringLiteral("57'4913"));
            key(edt, Qt::Key_Return);
            afterWrong = app.messages.texts();
            editAfterWrong = edt->text();
            openAfterWrong = w->isVisible();
            QTest::mouseClick(child<QPushButton>(w, QStringLiteral("SpeedButton2")), Qt::LeftButton);
        });
        prompt->showModal();
        QCOMPARE(afterEmpty, QStringList{QStringLiteral("Preencha o Campo Senha")});
        QCOMPARE(afterWrong, QStringList{QStringLiteral("Senha inválida!")});
        QCOMPARE(app.messages.messages.last().caption, QStringLiteral("ATENÇÃO!"));
        QCOMPARE(app.messages.messages.last().kind, Messages::Kind::Warning);
        QVERIFY(openAfterWrong);
        QVERIFY(editAfterWrong.isEmpty());

        // a stored password with small letters can never be typed
        app.messages.clear();
        app.db.exec("update tbl_senhas set s_caixa = 'abc9'");
        c = askClosing(app, QStringLiteral("abc9"));
        QVERIFY(!c.closingShown);
        QVERIFY(c.promptLeftOpen);
        QCOMPARE(app.messages.texts(), QStringList{QStringLiteral("Senha inválida!")});

        // the same password in capitals opens the closing window
        app.db.exec("update tbl_senhas set s_caixa = 'ABC9'");
        c = askClosing(app, QStringLiteral("abc9"), [](ClosingDialog*) {});
        QVERIFY(c.closingShown);
        QVERIFY(!c.promptLeftOpen); // closes with the closing window, even cancelled
        QVERIFY(app.printer.jobs.isEmpty());
        QCOMPARE(till.tallyRows(), 1);
    }

    void aFailedPrintLeavesTheTillOpenForAnotherTry() {
        App app;
        Till till(app);
        app.printer.failAfter = 0;
        bool openAfterFailure = false;
        QStringList messages;
        int rowsAfterFailure = -1;
        const bool salesScreenOpen = withSalesScreen(app, [&] {
            till.open(QStringLiteral("5"), QStringLiteral("10"));
            till.sell("4", 2, QStringLiteral("26,00"));
            till.ctrlF();
            askClosing(app, password, [&](ClosingDialog* f) {
                nameAndClose(f, QStringLiteral("ANA"));
                openAfterFailure = f->isVisible() && app.app->f_caixa->isVisible();
                messages = app.messages.texts();
                rowsAfterFailure = till.tallyRows();
                app.printer.failAfter = -1;
                QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")),
                                  Qt::LeftButton); // still enabled: try again
            });
        });
        QVERIFY(openAfterFailure);
        QCOMPARE(messages, QStringList{QStringLiteral("Impressora sem papel")});
        QCOMPARE(rowsAfterFailure, 1);
        QVERIFY(!salesScreenOpen);
        const auto jobs = app.printer.jobsOf(QStringLiteral("qr_fechamento"));
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(jobs.first().text("qr4"), QStringLiteral("2"));
        QCOMPARE(till.tallyRows(), 0);
    }

    // A count is centred under "Quantidade" whatever its width: a long count grows on both sides.
    void countsPrintCentredInTheirColumn() {
        App app;
        ClosingReport* r = app.app->qr_fechamento;
        r->setCaption(QStringLiteral("qr0"), QStringLiteral("1"));
        r->setCaption(QStringLiteral("qr1"), QStringLiteral("12345"));
        const double dpm = 12;
        const QImage page = paintReport(*r, dpm);
        // ink between the name column's end and the page's right edge, within one row
        auto inkCentre = [&](double rowTop) {
            const int y0 = qRound((r->marginTop + rowTop) * dpm),
                      y1 = qRound((r->marginTop + rowTop + 4.5) * dpm);
            const int x0 = qRound((r->marginLeft + 14.82 + 29.37 + 0.5) * dpm);
            int minX = page.width(), maxX = -1;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < page.width(); ++x)
                    if (qGray(page.pixel(x, y)) < 128) {
                        minX = qMin(minX, x);
                        maxX = qMax(maxX, x);
                    }
            return maxX < 0 ? -1.0 : (minX + maxX) / 2.0 / dpm - r->marginLeft;
        };
        const double designed = 49.48 + 5.03 / 2;
        QVERIFY2(qAbs(inkCentre(119.86) - designed) < 0.6, qPrintable(QString::number(inkCentre(119.86))));
        QVERIFY2(qAbs(inkCentre(126.21) - designed) < 0.6, qPrintable(QString::number(inkCentre(126.21))));
    }
};

QUORVANTA_TEST_MAIN(TestClosingDialog)
#include "tst_closingdialog.moc"
