// Printing to an ESC/POS printer: the status answers, the page as raster across the roll, and the sink
// against a printer on a loopback port (or a terminal standing for a USB device file): batches and cuts,
// paper running out, cover open, faults in the middle of a batch, printers that never answer status
// requests; and the printer settings of this machine.

#include "core/base/errors.h"
#include "core/print/escpos.h"
#include "core/print/escposprinter.h"
#include "core/print/printersettings.h"
#include "support/coresupport.h"
#include "support/escpostestprinter.h"

#include <QSettings>
#include <sys/stat.h>

namespace {

constexpr int timeoutMs = 1000; // how long the sink waits for an answer that does not come

const QString paperEnd = QStringLiteral("A impressora está sem papel. Troque o rolo e confirme de novo.");
const QString coverOpen = QStringLiteral("A tampa da impressora está aberta.");
const QString noAnswer = QStringLiteral("A impressora não respondeu.");

Report ticket(int i) {
    static const char* const products[] = {"PASTEL", "REFRIGERANTE", "CACHORRO-QUENTE", "QUENTÃO", "PIPOCA"};
    return TestSupport::ticketReport(QStringLiteral("qr_fichas"), QString::fromUtf8(products[i % 5]));
}

// What the printer prints for each ticket of [first, last).
QList<EscPosDocument> tickets(int first, int last, int paperMm = 80) {
    QList<EscPosDocument> out;
    for (int i = first; i < last; ++i)
        out << EscPosDecoder::documents(EscPos::initialize() + EscPos::page(ticket(i), paperMm) +
                                        EscPos::cut());
    return out;
}

struct Sale {
    QList<PrintJob> jobs;
    QString error;
    bool doubt = false; // the error left the ticket in doubt
};

// Prints tickets [first, last) in one print session, as the sales screen does; stops at the first error.
Sale sell(EscPosPrintSink& sink, int first, int last) {
    Sale sale;
    Printing::setSink(&sink);
    {
        PrintSession session;
        try {
            for (int i = first; i < last; ++i)
                sale.jobs << ticket(i).print();
        } catch (const PrintError& e) {
            sale.error = e.text();
            sale.doubt = dynamic_cast<const PrintDoubt*>(&e) != nullptr;
        }
    }
    Printing::setSink(nullptr);
    return sale;
}

// The printer as the state line names it.
QString lineOf(const PrinterSettings& s, const char* state) {
    const QString name =
        s.kind == PrinterSettings::Kind::Network ? QStringLiteral("%1:%2").arg(s.host).arg(s.port) : s.device;
    return QStringLiteral("ESC/POS %1: %2").arg(name, QString::fromUtf8(state));
}

// The height of each run of inked rows, top to bottom, in millimetres; whether ink touches an edge (a
// text cut off there).
struct Ink {
    QList<double> runsMm;
    bool atTheEdges = false;
};
Ink inkOf(const QImage& image) {
    Ink ink;
    int run = 0;
    for (int y = 0; y <= image.height(); ++y) {
        bool inked = false;
        for (int x = 0; y < image.height() && x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                inked = true;
                ink.atTheEdges =
                    ink.atTheEdges || x == 0 || x == image.width() - 1 || y == 0 || y == image.height() - 1;
            }
        if (inked) {
            ++run;
        } else if (run > 0) {
            ink.runsMm << double(run) / EscPos::dotsPerMm;
            run = 0;
        }
    }
    return ink;
}

QString flagsOf(const EscPosStatus& s) {
    QStringList on;
    for (const auto& [set, name] : {std::pair{s.offline, "offline"},
                                    {s.coverOpen, "cover"},
                                    {s.paperEndStop, "stop"},
                                    {s.error, "error"},
                                    {s.paperNearEnd, "near"},
                                    {s.paperEnd, "end"}})
        if (set) on << QLatin1String(name);
    return on.join(QLatin1Char(' '));
}

enum class Setup { Answers, Silent, SilentAfterAnswering, Unreachable };
enum class Fault { ConnectionClosed, StopsAnswering, PaperEndStop, CoverOpened };

} // namespace

Q_DECLARE_METATYPE(EscPosTestPrinter::Transport)
Q_DECLARE_METATYPE(EscPosTestPrinter::State)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Fault)

class TestEscPos : public QObject {
    Q_OBJECT

private slots:
    // Answers to DLE EOT 1, 2 and 4; a byte without the fixed bits of a status byte is no answer.
    void statusAnswers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("flags");
        const auto row = [](const char* tag, QByteArray a, bool valid, const char* f = "") {
            QTest::newRow(tag) << a << valid << QString::fromLatin1(f);
        };
        row("ready", QByteArray::fromHex("121212"), true);
        row("offline", QByteArray::fromHex("1a1212"), true, "offline");
        row("cover open", QByteArray::fromHex("1a1612"), true, "offline cover");
        row("stopped for paper end", QByteArray::fromHex("1a327e"), true, "offline stop near end");
        row("error", QByteArray::fromHex("1a5212"), true, "offline error");
        row("near end, one sensor bit", QByteArray::fromHex("121216"), true, "near");
        row("roll end", QByteArray::fromHex("12127e"), true, "near end");
        row("bit 0 set", QByteArray::fromHex("131212"), false);
        row("bit 1 clear", QByteArray::fromHex("121012"), false);
        row("bit 4 clear", QByteArray::fromHex("121202"), false);
        row("bit 7 set", QByteArray::fromHex("921212"), false);
        row("all ones", QByteArray::fromHex("ffffff"), false);
        row("short", QByteArray::fromHex("1212"), false);
        row("too long", QByteArray::fromHex("12121212"), false);
        row("none", QByteArray(), false);
    }
    void statusAnswers() {
        QFETCH(QByteArray, answer);
        QFETCH(bool, valid);
        QFETCH(QString, flags);
        const std::optional<EscPosStatus> s = EscPos::parseStatus(answer);
        QCOMPARE(s.has_value(), valid);
        if (valid) QCOMPARE(flagsOf(*s), flags);
    }

    // The ticket across the printable width, the white below its footer left out.
    void rasterFitsTheRoll_data() {
        QTest::addColumn<int>("paperMm");
        QTest::addColumn<int>("dots");
        QTest::newRow("58 mm") << 58 << 384;
        QTest::newRow("80 mm") << 80 << 576;
    }
    void rasterFitsTheRoll() {
        QFETCH(int, paperMm);
        QFETCH(int, dots);
        const QList<EscPosDocument> docs = tickets(0, 1, paperMm);
        QCOMPARE(docs.size(), 1);
        const EscPosDocument& d = docs.first();
        QCOMPARE(d.widthDots, dots);
        const QImage page = EscPos::paintPage(ticket(0), paperMm);
        const Ink ink = inkOf(page.copy(0, d.rows, page.width(), page.height() - d.rows));
        QVERIFY2(d.rows < page.height() && ink.runsMm.isEmpty(), qPrintable(QString::number(d.rows)));
        QVERIFY(d.bits.right(dots / 8).count('\0') < dots / 8); // the last row prints
    }

    // The printer acts on a real-time request wherever it comes, graphics included: the raster never
    // carries one, at the cost of one dot.
    void rasterCarriesNoRealTimeRequest() {
        const QByteArray row = QByteArray::fromHex("100401"
                                                   "101402"
                                                   "100520"
                                                   "1020ff");
        QImage image(int(row.size()) * 8, 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int x = 0; x < image.width(); ++x)
            if (uchar(row[x / 8]) & (0x80 >> (x % 8))) image.setPixel(x, 0, qRgb(0, 0, 0));
        const QList<EscPosDocument> docs = EscPosDecoder::documents(EscPos::raster(image) + EscPos::cut());
        QCOMPARE(docs.size(), 1);
        QCOMPARE(docs.first().bits.toHex(), QByteArray("000401"
                                                       "001402"
                                                       "000520"
                                                       "1020ff"));
    }

    // A sale's tickets go out in one connection, in order, each cut off, or fed apart and cut once.
    void batch_data() {
        QTest::addColumn<EscPosTestPrinter::Transport>("transport");
        QTest::addColumn<bool>("cutEach");
        QTest::addColumn<int>("cuts");
        QTest::newRow("network, cut each") << EscPosTestPrinter::Transport::Tcp << true << 5;
        QTest::newRow("network, one cut") << EscPosTestPrinter::Transport::Tcp << false << 1;
        QTest::newRow("usb device, cut each") << EscPosTestPrinter::Transport::Device << true << 5;
    }
    void batch() {
        QFETCH(EscPosTestPrinter::Transport, transport);
        QFETCH(bool, cutEach);
        QFETCH(int, cuts);
        EscPosTestPrinter printer(transport);
        EscPosPrintSink sink(printer.settings(80, cutEach));
        const Sale sale = sell(sink, 0, 5);
        QCOMPARE(sale.error, QString());
        QCOMPARE(sale.jobs.size(), 5);
        QCOMPARE(sale.jobs.last(), (PrintJob{sink.destination(), 0}));
        QTRY_COMPARE(printer.cuts(), cuts);
        QCOMPARE(printer.documents(), tickets(0, 5));
        QCOMPARE(printer.unknownBytes(), 0);
        QCOMPARE(printer.statusRequests(), 3 * 6); // before the first ticket and after each
        if (transport == EscPosTestPrinter::Transport::Tcp) QCOMPARE(printer.connections(), 1);
        QCOMPARE(sink.status().line(), lineOf(printer.settings(), "pronta"));
    }

    // The roll ends right at the third ticket's cut and the printer stops: a printer that confirmed the
    // third counts it, one that cannot confirm leaves it in doubt; the fourth is refused before it goes
    // out, and so is every print until the paper is changed. No ticket is printed twice.
    void paperEndAtTheThirdCut_data() {
        QTest::addColumn<bool>("confirming");
        QTest::newRow("printer confirms its tickets") << true;
        QTest::newRow("printer that cannot confirm") << false;
    }
    void paperEndAtTheThirdCut() {
        QFETCH(bool, confirming);
        EscPosTestPrinter printer;
        printer.setConfirming(confirming);
        printer.loadPaper(3);
        EscPosPrintSink sink(printer.settings());
        sink.setTimeout(timeoutMs);
        Sale sale = sell(sink, 0, 5);
        QCOMPARE(sale.jobs.size(), confirming ? 3 : 2);
        QCOMPARE(sale.doubt, !confirming);
        QVERIFY2(sale.error.startsWith(paperEnd), qPrintable(sale.error));
        QCOMPARE(sink.status().line(), lineOf(printer.settings(), "sem papel"));
        sale = sell(sink, 3, 5);
        QCOMPARE(sale.jobs.size(), 0);
        QCOMPARE(sale.error, paperEnd);
        QCOMPARE(printer.documents(), tickets(0, 3));

        printer.loadPaper();
        sale = sell(sink, 3, 5);
        QCOMPARE(sale.error, QString());
        QCOMPARE(printer.documents(), tickets(0, 5));
        QCOMPARE(printer.cuts(), 5);
    }

    // A ticket laid out across the roll: the product's capitals at least 5 mm tall, the header's and the
    // footer's at least 2.5 mm, a name too long for one line broken rather than cut.
    void ticketOnTheRoll_data() {
        QTest::addColumn<int>("paperMm");
        QTest::addColumn<QString>("product");
        QTest::addColumn<int>("nameLines");
        for (const int mm : {58, 80}) {
            QTest::addRow("%d mm, short name", mm) << mm << QStringLiteral("PASTEL") << 1;
            QTest::addRow("%d mm, long name", mm)
                << mm << QStringLiteral("REFRIGERANTE") << (mm == 58 ? 2 : 1);
        }
    }
    void ticketOnTheRoll() {
        QFETCH(int, paperMm);
        QFETCH(QString, product);
        QFETCH(int, nameLines);
        const QStringList names = {"cabecalho", "impresso", "rodape"};
        const QStringList texts = {"FESTA DE SANTO ANTONIO", product, "VOLTE SEMPRE"};
        const double least[] = {2.5, 5.0, 2.5};
        Report whole = TestSupport::ticketReport(QStringLiteral("qr_fichas"), product);
        for (int i = 0; i < names.size(); ++i)
            whole.setCaption(names[i], texts[i]);
        const QImage page = EscPos::paintPage(whole, paperMm);
        QCOMPARE(page.width(), EscPos::printableDots(paperMm));
        const Ink all = inkOf(page);
        QVERIFY(!all.atTheEdges);
        QCOMPARE(all.runsMm.size(), (paperMm == 58 ? 2 : 1) + nameLines + 1); // the header wraps on 58 mm

        QStringList measured;
        for (int i = 0; i < names.size(); ++i) { // each text alone: its lines are its runs of ink
            Report one = whole;
            for (int j = 0; j < names.size(); ++j)
                one.setCaption(names[j], i == j ? texts[j] : QString());
            const Ink ink = inkOf(EscPos::paintPage(one, paperMm));
            QVERIFY(!ink.runsMm.isEmpty());
            for (const double mm : ink.runsMm) {
                QVERIFY2(mm >= least[i], qPrintable(QStringLiteral("%1: %2 mm").arg(names[i]).arg(mm)));
                measured << QStringLiteral("%1 %2 mm").arg(names[i]).arg(mm);
            }
        }
        qInfo("%d mm: %s", paperMm, qPrintable(measured.join(QStringLiteral(", "))));
    }

    // The state line after probing and after a sale of two tickets; a printer that cannot print is sent
    // nothing.
    void stateBeforeTheSale_data() {
        QTest::addColumn<EscPosTestPrinter::State>("state");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("error"); // its beginning; empty: the sale prints
        using S = EscPosTestPrinter::State;
        const QString p = QStringLiteral("ESC/POS 127.0.0.1:%1: ");
        QTest::newRow("ready") << S::Ready << Setup::Answers << p + "pronta" << QString();
        QTest::newRow("paper near end")
            << S::PaperNearEnd << Setup::Answers << p + "pronta, pouco papel" << QString();
        QTest::newRow("cover open") << S::CoverOpen << Setup::Answers << p + "tampa aberta" << coverOpen;
        QTest::newRow("paper end") << S::PaperEnd << Setup::Answers << p + "sem papel" << paperEnd;
        QTest::newRow("never answers")
            << S::Ready << Setup::Silent << p + "o papel não pode ser verificado" << QString();
        QTest::newRow("answered, then silent")
            << S::Ready << Setup::SilentAfterAnswering << p + "não responde" << noAnswer;
        QTest::newRow("nothing listening")
            << S::Ready << Setup::Unreachable << p + "sem conexão (conexão recusada)"
            << QStringLiteral("Não foi possível conectar à impressora em 127.0.0.1:");
    }
    void stateBeforeTheSale() {
        QFETCH(EscPosTestPrinter::State, state);
        QFETCH(Setup, setup);
        QFETCH(QString, line);
        QFETCH(QString, error);
        EscPosTestPrinter printer;
        PrinterSettings settings = printer.settings();
        if (setup == Setup::Unreachable) settings = EscPosTestPrinter().settings(); // gone with its port
        EscPosPrintSink sink(settings);
        sink.setTimeout(timeoutMs);
        if (setup == Setup::SilentAfterAnswering)
            QCOMPARE(sink.probe().state, EscPosPrinterStatus::State::Ready);
        if (setup == Setup::Silent || setup == Setup::SilentAfterAnswering) printer.stopAnsweringAfter(0);
        printer.setState(state);

        line = line.arg(settings.port);
        QCOMPARE(sink.probe().line(), line);
        const int asked = printer.statusRequests();
        const Sale sale = sell(sink, 0, 2);
        QVERIFY2(error.isEmpty() ? sale.error.isEmpty() : sale.error.startsWith(error),
                 qPrintable(sale.error));
        QTRY_COMPARE(printer.documents().size(), error.isEmpty() ? 2 : 0);
        QCOMPARE(sink.status().line(), line);
        if (setup == Setup::Silent) QCOMPARE(printer.statusRequests(), asked); // never waited for again
    }

    // A fault after the first ticket: the second, in flight, is not known printed and raises; the sink
    // never sends it again by itself; the next sale connects again and prints.
    void faultInTheMiddleOfABatch_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("error"); // its beginning
        QTest::addColumn<int>("received");  // documents the printer printed
        QTest::newRow("connection closed")
            << Fault::ConnectionClosed
            << QStringLiteral("A conexão com a impressora caiu durante a impressão") << 2;
        QTest::newRow("stops answering") << Fault::StopsAnswering << noAnswer << 2;
        QTest::newRow("printing stopped, paper end") << Fault::PaperEndStop << paperEnd << 1;
        QTest::newRow("cover opened") << Fault::CoverOpened << coverOpen << 1;
    }
    void faultInTheMiddleOfABatch() {
        QFETCH(Fault, fault);
        QFETCH(QString, error);
        QFETCH(int, received);
        EscPosTestPrinter printer;
        EscPosPrintSink sink(printer.settings());
        sink.setTimeout(timeoutMs);
        Printing::setSink(&sink);
        {
            PrintSession session;
            ticket(0).print();
            switch (fault) {
            case Fault::ConnectionClosed:
                printer.closeAfter(2);
                break;
            case Fault::StopsAnswering:
                printer.stopAnsweringAfter(2);
                break;
            case Fault::PaperEndStop:
                printer.setState(EscPosTestPrinter::State::PaperEnd);
                break;
            case Fault::CoverOpened:
                printer.setState(EscPosTestPrinter::State::CoverOpen);
                break;
            }
            try {
                ticket(1).print();
                QFAIL("the second ticket printed");
            } catch (const PrintError& e) {
                QVERIFY2(e.text().startsWith(error), qPrintable(e.text()));
            }
        }
        Printing::setSink(nullptr);
        QTRY_COMPARE(printer.documents(), tickets(0, received));

        printer.setState(EscPosTestPrinter::State::Ready);
        printer.loadPaper();
        printer.stopAnsweringAfter(-1);
        const Sale again = sell(sink, 1, 3);
        QCOMPARE(again.error, QString());
        QCOMPARE(printer.connections(), 2);
        QCOMPARE(printer.documents(), tickets(0, received) + tickets(1, 3));
    }

    // Unset, the print server; kept in a file only its user can read.
    void settings() {
        QTemporaryDir dir;
        PrinterSettings::setFileName(dir.filePath(QStringLiteral("quorvanta/impressora.conf")));
        QCOMPARE(PrinterSettings::load(), PrinterSettings());
        QCOMPARE(PrinterSettings().kind, PrinterSettings::Kind::PrintServer);

        PrinterSettings s;
        s.kind = PrinterSettings::Kind::Network;
        s.host = QStringLiteral("192.168.0.50");
        s.port = 9101;
        s.paperMm = 58;
        s.cutEachTicket = false;
        s.save();
        QCOMPARE(PrinterSettings::load(), s);
        struct stat st {};
        QCOMPARE(stat(QFile::encodeName(PrinterSettings::fileName()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);

        QSettings(PrinterSettings::fileName(), QSettings::IniFormat)
            .setValue(QStringLiteral("impressora/papel_mm"), 70);
        QCOMPARE(PrinterSettings::load().paperMm, 80);
        PrinterSettings::setFileName(QString());
    }
};

QUORVANTA_CORE_TEST_MAIN(TestEscPos)
#include "tst_escpos.moc"
