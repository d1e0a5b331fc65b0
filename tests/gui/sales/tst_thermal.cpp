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

enum class Trouble { None, NoCut, PaperAfter3, CoverOpen, NearEnd, ClosedAfter2 };

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
                             QStringLiteral("Impressora ESC/POS: pronta"));
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
        const QString noPaper =
            QStringLiteral("A impressora está sem papel. Troque o rolo e confirme de novo.");
        QTest::newRow("cut after each ticket") << Trouble::None << 5 << QString();
        QTest::newRow("one cut at the end") << Trouble::NoCut << 5 << QString();
        QTest::newRow("paper ends after the third") << Trouble::PaperAfter3 << 3 << noPaper;
        QTest::newRow("cover open") << Trouble::CoverOpen << 0
                                    << QStringLiteral("A tampa da impressora está aberta.");
        QTest::newRow("paper near end") << Trouble::NearEnd << 5 << QString();
        QTest::newRow("connection closed after the second") << Trouble::ClosedAfter2 << 2 << QString();
    }

    void saleOnAThermalPrinter() {
        QFETCH(Trouble, trouble);
        QFETCH(int, printedFirst);
        QFETCH(QString, told);
        EscPosTestPrinter printer;
        App app;
        app.app->usePrinter(printer.settings(80, trouble != Trouble::NoCut));
        setTillOpen(app, QStringLiteral("8"), QStringLiteral("50"));
        if (trouble == Trouble::PaperAfter3) printer.loadPaper(3);
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
            QTRY_VERIFY(child<QLabel>(c, QStringLiteral("l_impressora"))
                            ->text()
                            .startsWith(QLatin1String("Impressora ESC/POS")));
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
                typeActive(QStringLiteral("*"));
                whenModal(QStringLiteral("f_troco"), [&](QWidget*) { keyActive(Qt::Key_Return); });
                keyActive(Qt::Key_Return);
            }
            QTRY_VERIFY(c->isActiveWindow());
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
        if (trouble == Trouble::ClosedAfter2) { // the second ticket went out, the printer never said
            QCOMPARE(errors.size(), 1);
            QVERIFY(app.messages.texts().contains(QStringLiteral("A ficha 2 de ÁGUA saiu na impressora?")));
        } else
            QCOMPARE(errors, told.isEmpty() ? QStringList() : QStringList{told});
        if (trouble == Trouble::NearEnd)
            QVERIFY2(line.contains(QLatin1String("pouco papel")), qPrintable(line));
    }
};

QUORVANTA_TEST_MAIN(TestThermal)
#include "tst_thermal.moc"
