// Sales printed on a thermal ESC/POS printer of the tests' own (a loopback port): each ticket on paper
// once, decoded from the bytes the printer received; paper running out, the cover open and a connection
// dropped in the middle of a sale stop the printing where the paper stopped, the cashier is told (and
// asked about a ticket the printer could not account for), and the next confirmation prints only the
// tickets missing and books the sale once; paper near its end shows on the printer line.
#include "core/print/escpos.h"
#include "core/print/escposprinter.h"
#include "core/reports/ticketreport.h"
#include "core/till/tillmodel.h"
#include "gui/sales/saleswindow.h"
#include "gui/settings/passwordswindow.h"
#include "gui/shell/application.h"
#include "support/escpostestprinter.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace TestSupport;

namespace {

enum class Trouble { None, NoCut, PaperAfter3, PaperAfter3Unconfirmed, CoverOpen, NearEnd, ClosedAfter2 };

} // namespace

Q_DECLARE_METATYPE(Trouble)

class TestThermal : public QObject {
    Q_OBJECT

    QTemporaryDir m_config; // the printer settings of this run, not the user's

private slots:
    void initTestCase() {
        PrinterSettings::setFileName(m_config.filePath(QStringLiteral("impressora.conf")));
    }

    // The administration chooses the printer: the settings are kept and tickets go to it at once.
    void chosenInTheAdministration() {
        EscPosTestPrinter printer;
        App app;
        PrinterSettings wanted = printer.settings(58, false);
        wanted.device = PrinterSettings().device; // untouched in the window
        whenModal(QStringLiteral("f_administracao"), [&](QWidget* admin) {
            whenModal(QStringLiteral("f_impressora"), [&](QWidget* w) {
                auto* kind = child<QComboBox>(w, QStringLiteral("cb_tipo"));
                kind->setCurrentIndex(kind->findData(int(PrinterSettings::Kind::Network)));
                QVERIFY(child<QLineEdit>(w, QStringLiteral("edt_endereco"))->isVisible());
                QVERIFY(!child<QLineEdit>(w, QStringLiteral("edt_dispositivo"))->isVisible());
                child<QLineEdit>(w, QStringLiteral("edt_endereco"))->setText(wanted.host);
                child<QSpinBox>(w, QStringLiteral("edt_porta"))->setValue(wanted.port);
                auto* paper = child<QComboBox>(w, QStringLiteral("cb_papel"));
                paper->setCurrentIndex(paper->findData(58));
                child<QCheckBox>(w, QStringLiteral("ck_corte"))->setChecked(false);
                child<QPushButton>(w, QStringLiteral("bt_testar"))->click();
                QTRY_COMPARE(child<QLabel>(w, QStringLiteral("l_estado"))->text(),
                             QStringLiteral("ESC/POS 127.0.0.1:%1: pronta").arg(wanted.port));
                child<QPushButton>(w, QStringLiteral("bt_salvar"))->click();
            });
            child<QPushButton>(admin, QStringLiteral("bt_impressora"))->click();
            static_cast<QDialog*>(admin)->accept();
        });
        app.app->f_administracao->showModal();
        QCOMPARE(PrinterSettings::load(), wanted);
        QVERIFY(dynamic_cast<EscPosPrintSink*>(&Printing::sink()));
        QCOMPARE(app.messages.last(), QStringLiteral("Impressora configurada!"));
        PrinterSettings{}.save(); // the next tests start from the print server
    }

    void saleOnAThermalPrinter_data() {
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<int>("printedFirst"); // tickets on paper after the first confirmation
        QTest::addColumn<QString>("told");     // the error the cashier is shown, if any
        QTest::addColumn<QString>("asked");    // about a ticket the printer could not account for
        QTest::addColumn<bool>("ctrlR");       // printed again with Ctrl+R rather than the confirmation
        const QString noPaper =
            QStringLiteral("A impressora está sem papel. Troque o rolo e confirme de novo.");
        const QString none;
        QTest::newRow("cut after each ticket") << Trouble::None << 5 << none << none << false;
        QTest::newRow("one cut at the end") << Trouble::NoCut << 5 << none << none << false;
        QTest::newRow("paper ends at the third cut") << Trouble::PaperAfter3 << 3 << noPaper << none << false;
        QTest::newRow("paper ends at the third cut, Ctrl+R")
            << Trouble::PaperAfter3 << 3 << noPaper << none << true;
        QTest::newRow("paper ends at the third cut, not confirmed")
            << Trouble::PaperAfter3Unconfirmed << 3 << none
            << QStringLiteral("A ficha 3 de CERVEJA saiu na impressora?") << true;
        QTest::newRow("cover open") << Trouble::CoverOpen << 0
                                    << QStringLiteral("A tampa da impressora está aberta.") << none << true;
        QTest::newRow("paper near end") << Trouble::NearEnd << 5 << none << none << false;
        QTest::newRow("connection closed after the second")
            << Trouble::ClosedAfter2 << 2 << none << QStringLiteral("A ficha 2 de ÁGUA saiu na impressora?")
            << false;
    }

    void saleOnAThermalPrinter() {
        QFETCH(Trouble, trouble);
        QFETCH(int, printedFirst);
        QFETCH(QString, told);
        QFETCH(QString, asked);
        QFETCH(bool, ctrlR);
        EscPosTestPrinter printer;
        App app;
        app.app->usePrinter(printer.settings(80, trouble != Trouble::NoCut));
        setTillOpen(app, QStringLiteral("8"), QStringLiteral("50"));
        if (trouble == Trouble::PaperAfter3 || trouble == Trouble::PaperAfter3Unconfirmed)
            printer.loadPaper(3);
        printer.setConfirming(trouble != Trouble::PaperAfter3Unconfirmed);
        if (trouble == Trouble::CoverOpen) printer.setState(EscPosTestPrinter::State::CoverOpen);
        if (trouble == Trouble::NearEnd) printer.setState(EscPosTestPrinter::State::PaperNearEnd);
        if (trouble == Trouble::ClosedAfter2) printer.closeAfter(2);
        app.messages.answer = [](const QString&) { return true; }; // the cashier saw the ticket come out
        SalesWindow* c = app.app->f_caixa;
        TillModel& till = *app.app->till;

        const QStringList texts = {"REFRI", "ÁGUA", "CERVEJA", "PASTEL", "ÁGUA"};
        QString line;
        whenModal(QStringLiteral("f_caixa"), [&](QWidget*) {
            QTRY_VERIFY(c->isActiveWindow());
            QTRY_VERIFY(
                child<QLabel>(c, QStringLiteral("l_impressora"))
                    ->text()
                    .startsWith(QStringLiteral("ESC/POS 127.0.0.1:%1: ").arg(printer.settings().port)));
            line = child<QLabel>(c, QStringLiteral("l_impressora"))->text();
            typeActive(QStringLiteral("10230*"));
            whenModal(QStringLiteral("f_troco"), [&](QWidget*) { keyActive(Qt::Key_Return); });
            keyActive(Qt::Key_Return);
            QTRY_COMPARE(printer.documents().size(), printedFirst);
            if (printedFirst < 5) { // the paper changed, the printer closed, the connection back: again
                QCOMPARE(till.saleLines().size(), 5);
                QCOMPARE(till.ticketsPrinted(), printedFirst);
                QCOMPARE(till.cash(), QStringLiteral("50"));
                printer.loadPaper();
                printer.setState(EscPosTestPrinter::State::Ready);
                whenModal(QStringLiteral("f_troco"), [&](QWidget*) { keyActive(Qt::Key_Return); });
                if (ctrlR) {
                    keyActive(Qt::Key_R, Qt::ControlModifier);
                } else {
                    typeActive(QStringLiteral("*"));
                    keyActive(Qt::Key_Return);
                }
            }
            QTRY_VERIFY(c->isActiveWindow());
            keyActive(Qt::Key_R, Qt::ControlModifier); // the sale is booked: nothing to print again
            QTRY_COMPARE(app.messages.texts().last(), QStringLiteral("Não há fichas a reimprimir."));
            c->closeTill();
        });
        c->showModal();

        // Five tickets on paper, each once and in order, and the sale booked once.
        QList<EscPosDocument> expected;
        TicketReport& ticket = *app.app->qr_fichas;
        for (const QString& text : texts) {
            ticket.setTicketText(text);
            expected << EscPosDecoder::documents(EscPos::initialize() + EscPos::page(ticket, 80) +
                                                 EscPos::cut());
        }
        QCOMPARE(printer.documents(), expected);
        QCOMPARE(printer.cuts(), trouble == Trouble::NoCut ? 1 : 5);
        QCOMPARE(till.cash(), QStringLiteral("71,50"));
        QVERIFY(till.saleIsEmpty() || till.saleBooked());
        QStringList errors;
        for (const RecordedMessage& m : app.messages.messages)
            if (m.kind == Messages::Kind::Error) errors << m.text;
        if (!asked.isEmpty()) { // the ticket went out and the printer could not say how it ended
            QCOMPARE(errors.size(), 1);
            QCOMPARE(app.messages.texts().filter(QStringLiteral("saiu na impressora?")), QStringList{asked});
        } else {
            QCOMPARE(errors, told.isEmpty() ? QStringList() : QStringList{told});
            QVERIFY(app.messages.texts().filter(QStringLiteral("saiu na impressora?")).isEmpty());
        }
        if (trouble == Trouble::NearEnd)
            QVERIFY2(line.contains(QLatin1String("pouco papel")), qPrintable(line));
    }
};

QUORVANTA_TEST_MAIN(TestThermal)
#include "tst_thermal.moc"
