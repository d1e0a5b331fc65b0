#include "core/reports/lasttillreport.h"
#include "gui/shell/application.h"
#include "gui/till/closingdialog.h"
#include "gui/till/lasttillview.h"
#include "gui/till/partialview.h"
#include "support/testsupport.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace TestSupport;

namespace {

// A completed sale confirmed in the change window: tally, cash, recount, names, backup.
void sell(App& app, const char* id, int quantidade, const QString& cash) {
    bookTallyRow(app, QLatin1String(id), quantidade);
    setTillFigures(app, cash);
    PartialView* p = app.app->f_parcial;
    p->btquantClick();
    p->bt_filtrarClick();
    app.app->f_base->btgravadorClick();
}

void withdraw(App& app, const QString& cash, const QString& total, const QString& count) {
    setTillFigures(app, cash, total, count.toInt());
}

QString stored(App& app) {
    return app.db.scalar(QStringLiteral("select ultcaixa from tbl_base"));
}

int rows(App& app) {
    return app.db.scalar(QStringLiteral("select count(*) from tbl_base")).toInt();
}

} // namespace

class TestLastTillView : public QObject {
    Q_OBJECT

private slots:
    void saveWritesTheThirtyOneLines() {
        App app;
        setTillOpen(app);
        sell(app, "0", 4, QStringLiteral("58,00"));
        sell(app, "1", 2, QStringLiteral("66,00"));
        sell(app, "1", 3, QStringLiteral("78,00"));
        bookTallyRow(app, QStringLiteral("b"), 2); // a key with no name
        app.app->f_parcial->btquantClick();
        withdraw(app, QStringLiteral("75,50"), QStringLiteral("2,50"), QStringLiteral("1"));
        app.app->f_base->btgravadorClick();

        const QString expected = QStringLiteral("Responsável: MARIA\r\n"
                                                "Operador: JOSE\r\n"
                                                "Data: 09/12/2026\r\n"
                                                "Hora: 13:00:00\r\n"
                                                "Entrada: 50\r\n"
                                                " \r\n"
                                                "ÁGUA  4\r\n"
                                                "REFRIGERANTE  5\r\n"
                                                "CERVEJA  0\r\n"
                                                "PASTEL  0\r\n"
                                                "CACHORRO-QUENTE  0\r\n"
                                                "PIPOCA  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  2\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                "  0\r\n"
                                                " \r\n"
                                                "Entrada: R$ 50\r\n"
                                                "Sangria: R$ 2,50\r\n"
                                                "Total Caixa: R$ 75,50\r\n"
                                                "Total Sangria: 1\r\n");
        QCOMPARE(stored(app), expected);
        QCOMPARE(stored(app).count(QStringLiteral("\r\n")), 31);
        QCOMPARE(stored(app).count(QLatin1Char('\n')), 31);
        QCOMPARE(rows(app), 1);
    }

    void theFirstSaveCreatesTheRowAndLaterSavesOverwriteIt() {
        App app;
        app.db.exec("delete from tbl_base"); // the window read the row at start-up
        QString shown = QStringLiteral("-");
        whenModal(QStringLiteral("f_base"), [&](QWidget* w) {
            shown = child<QPlainTextEdit>(w, QStringLiteral("DBMemo1"))->toPlainText();
            QTest::mouseClick(child<QPushButton>(w, QStringLiteral("btsair")), Qt::LeftButton);
        });
        app.app->f_base->showModal();
        QCOMPARE(shown, QString()); // no row: nothing to show
        setTillOpen(app);
        sell(app, "2", 1, QStringLiteral("56,00"));
        QCOMPARE(rows(app), 1);
        QVERIFY(stored(app).contains(QStringLiteral("\r\nCERVEJA  1\r\n")));
        sell(app, "2", 1, QStringLiteral("62,00"));
        QCOMPARE(rows(app), 1);
        QVERIFY(stored(app).contains(QStringLiteral("\r\nCERVEJA  2\r\n")));
        QVERIFY(stored(app).endsWith(QStringLiteral("Total Caixa: R$ 62,00\r\nTotal Sangria: 0\r\n")));
    }

    void aWithdrawalAfterTheLastSaleWaitsForTheNextSale() {
        App app;
        setTillOpen(app);
        sell(app, "3", 1, QStringLiteral("57,50"));
        withdraw(app, QStringLiteral("47,50"), QStringLiteral("10,00"), QStringLiteral("1"));
        QVERIFY(stored(app).contains(
            QStringLiteral("Sangria: R$ 0,00\r\nTotal Caixa: R$ 57,50\r\nTotal Sangria: 0")));
        sell(app, "3", 1, QStringLiteral("55,00"));
        QVERIFY(stored(app).contains(
            QStringLiteral("Sangria: R$ 10,00\r\nTotal Caixa: R$ 55,00\r\nTotal Sangria: 1")));

        // a withdrawal, then the closing: the backup keeps the state after the last sale
        withdraw(app, QStringLiteral("50,00"), QStringLiteral("15,00"), QStringLiteral("2"));
        const QString afterLastSale = stored(app);
        whenModal(QStringLiteral("f_fechamento"), [](QWidget* w) {
            auto* f = static_cast<ClosingDialog*>(w);
            key(child<QLineEdit>(f, QStringLiteral("Edit1")), Qt::Key_Return);
            QTest::mouseClick(child<QPushButton>(f, QStringLiteral("bt_fechar")), Qt::LeftButton);
        });
        app.app->f_fechamento->showModal();
        QCOMPARE(app.printer.jobsOf(QStringLiteral("qr_fechamento")).size(), 1);
        QCOMPARE(stored(app), afterLastSale);
    }

    void theWindowShowsTheStoredTextAndCannotEditIt() {
        App app;
        LastTillView* b = app.app->f_base;
        QCOMPARE(b->windowTitle(), QStringLiteral("Base Dados - Caixa Anterior"));
        setTillOpen(app);
        sell(app, "5", 3, QStringLiteral("59,00"));

        QString shown, afterTyping;
        whenModal(QStringLiteral("f_base"), [&](QWidget*) {
            shown = child<QPlainTextEdit>(b, QStringLiteral("DBMemo1"))->toPlainText();
            child<QPlainTextEdit>(b, QStringLiteral("DBMemo1"))->setFocus();
            type(child<QPlainTextEdit>(b, QStringLiteral("DBMemo1")), QStringLiteral("XYZ"));
            key(child<QPlainTextEdit>(b, QStringLiteral("DBMemo1")), Qt::Key_Backspace);
            afterTyping = child<QPlainTextEdit>(b, QStringLiteral("DBMemo1"))->toPlainText();
            QTest::mouseClick(child<QPushButton>(b, QStringLiteral("btsair")), Qt::LeftButton);
        });
        b->showModal();
        QString expected = stored(app);
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(shown, expected);
        QVERIFY(shown.contains(QStringLiteral("PIPOCA  3")));
        QCOMPARE(afterTyping, shown);
        QVERIFY(child<QPlainTextEdit>(b, QStringLiteral("DBMemo1"))->isReadOnly());
        QCOMPARE(stored(app).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), expected);

        // a text stored by someone else while the window was closed shows on the next showing
        app.db.exec("update tbl_base set ultcaixa = 'OUTRO CAIXA' || char(13) || char(10)");
        whenModal(QStringLiteral("f_base"), [&](QWidget*) {
            shown = child<QPlainTextEdit>(b, QStringLiteral("DBMemo1"))->toPlainText();
            QTest::mouseClick(child<QPushButton>(b, QStringLiteral("btsair")), Qt::LeftButton);
        });
        b->showModal();
        QCOMPARE(shown, QStringLiteral("OUTRO CAIXA\n"));
    }

    void printingFromTheWindow() {
        App app;
        LastTillView* b = app.app->f_base;
        setTillOpen(app);
        sell(app, "4", 2, QStringLiteral("66,00"));
        bool stillOpen = false;
        whenModal(QStringLiteral("f_base"), [&](QWidget* w) {
            QTest::mouseClick(child<QPushButton>(b, QStringLiteral("btimprimir")), Qt::LeftButton);
            stillOpen = w->isVisible();
            QTest::mouseClick(child<QPushButton>(b, QStringLiteral("btsair")), Qt::LeftButton);
        });
        b->showModal();
        QVERIFY(stillOpen);
        QVERIFY(!b->isVisible());
        const auto jobs = app.printer.jobsOf(QStringLiteral("qr_impbackup"));
        QCOMPARE(jobs.size(), 1);
        const PrintedJob& job = jobs.first();
        QCOMPARE(job.allTexts.mid(0, 2),
                 (QStringList{QStringLiteral("FECHAMENTO DE CAIXA"), QStringLiteral("MODO BACKUP")}));
        const QStringList lines = job.text(QStringLiteral("QRMemo1")).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 31);
        QStringList storedLines = stored(app).split(QStringLiteral("\r\n"));
        storedLines.removeLast();
        QCOMPARE(lines, storedLines);
        QCOMPARE(lines.at(10), QStringLiteral("CACHORRO-QUENTE  2"));
        QCOMPARE(lines.at(12), QStringLiteral("  0"));
    }

    // The memo keeps its size: lines beyond its height are not printed, nothing spills below it.
    void theMemoNeverGrows() {
        App app;
        LastTillReport* r = app.app->qr_impbackup;
        QStringList many;
        for (int i = 0; i < 120; ++i)
            many << QStringLiteral("LINHA %1 DE UM TEXTO QUE NAO CABE NA PAGINA DO RELATORIO DE BACKUP")
                        .arg(i);
        r->setLines(QStringLiteral("QRMemo1"), many);
        const double dpm = 6;
        const QImage page = paintReport(*r, dpm);
        const double memoBottom = r->marginTop + 13.23 + 2.12 + 233.10;
        auto inkInRows = [&](double fromMm, double toMm) {
            for (int y = qRound(fromMm * dpm); y < qMin(page.height(), qRound(toMm * dpm)); ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (qGray(page.pixel(x, y)) < 160) return true;
            return false;
        };
        QVERIFY(inkInRows(memoBottom - 10, memoBottom));
        QVERIFY(!inkInRows(memoBottom + 0.2, r->pageSizeMm().height()));
        // long lines wrap inside the memo's width
        const double memoRight = r->marginLeft + 2.12 + 84.93;
        for (int y = 0; y < page.height(); ++y)
            for (int x = qRound(memoRight * dpm) + 1; x < page.width(); ++x)
                QVERIFY(qGray(page.pixel(x, y)) >= 160);
    }
};

QUORVANTA_TEST_MAIN(TestLastTillView)
#include "tst_lasttillview.moc"
