// The report engine: layout in millimetres (auto-size, fixed boxes, clipping, word wrap, bands), the PDF
// page it writes when no printer is installed (size, real text in place, fonts) and the job files.

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/datamodule.h"
#include "core/db/dataset.h"
#include "support/coresupport.h"
#include "support/pdfprobe.h"

#include <QDir>
#include <QPainter>

namespace {

constexpr double dpm = 10; // dots per millimetre of the images the layout is painted on (254 dpi)

ReportElement& box(Report& r, int band, const QString& name, const QString& text, double left, double top,
                   double width, double height, double size) {
    ReportElement& e = r.label(band, name, text, left, top, width, size, true);
    e.autoSize = false;
    e.wordWrap = true;
    e.height = height;
    e.alignment = Qt::AlignHCenter;
    return e;
}

// The ticket's layout: three bold boxes, centred, wrapped, never growing.
Report ticket(const QString& text,
              const QString& header = QStringLiteral("FESTA JUNINA DA PARÓQUIA SÃO JOSÉ")) {
    Report r(QStringLiteral("qr_fichas"), 90.0, 135.0);
    const int band = r.addBand(QStringLiteral("detail"), 29.10);
    box(r, band, QStringLiteral("cabecalho"), header, 0.26, 1.32, 81.49, 5.03, 11);
    box(r, band, QStringLiteral("impresso"), text, 0.26, 8.73, 81.49, 11.91, 28);
    box(r, band, QStringLiteral("rodape"), QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 0.26, 23.28, 81.49,
        5.03, 10);
    return r;
}

// Page coordinates (mm) of the ticket's boxes: margins 1.0 left and 2.0 top.
constexpr double boxLeft = 1.0 + 0.26, boxRight = boxLeft + 81.49, boxCentre = (boxLeft + boxRight) / 2;
constexpr double textTop = 2.0 + 8.73, textBottom = textTop + 11.91, footerTop = 2.0 + 23.28;

QImage paintPage(const Report& r) {
    return TestSupport::paintReport(r, dpm);
}

QRectF inkOf(const Report& r, const QRectF& regionMm) {
    return Ink::box(paintPage(r), regionMm, dpm);
}

const QRectF wholePage(0, 0, 1000, 1000);

} // namespace

class TestReport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString pdfOf(const Report& r) {
        return SystemPrintSink::writePdf(r, m_dir.filePath(QStringLiteral("pdf")));
    }
    void needPoppler() {
        if (!PdfProbe::available())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts, pdftoppm) not installed");
    }

private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 33))); }
    void cleanup() {
        Clock::setFixed(QDateTime());
        SystemPrintSink::setPdfFolder(QString());
        Printing::setSink(nullptr);
    }

    // ---- layout, painted on an image ----

    void autoSizeTakesTheTextsWidthAnchoredByItsAlignment() {
        const QString text = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        Report r(QStringLiteral("qr_teste"), 150, 60);
        const int band = r.addBand(QStringLiteral("detail"), 50, 148);
        r.label(band, QStringLiteral("left"), text, 10, 0, 5);
        r.label(band, QStringLiteral("right"), QStringLiteral("R$ 70,00"), 60, 10, 20).alignment =
            Qt::AlignRight;
        r.label(band, QStringLiteral("centre"), QStringLiteral("R$ 70,00"), 60, 20, 20).alignment =
            Qt::AlignHCenter;
        r.label(band, QStringLiteral("big"), QStringLiteral("TOTAL"), 10, 30, 5, 28, true);

        const QRectF left = inkOf(r, {0, 0, 150, 10});
        QVERIFY2(qAbs(left.left() - 11) < 0.5, qPrintable(QString::number(left.left())));
        QVERIFY2(left.right() > 60, "an auto-size label is as wide as its text, not its width");
        const QRectF right = inkOf(r, {0, 10, 150, 10});
        QVERIFY2(qAbs(right.right() - 81) < 0.5, qPrintable(QString::number(right.right())));
        const QRectF centre = inkOf(r, {0, 20, 150, 10});
        QVERIFY2(qAbs(centre.center().x() - 71) < 0.5, qPrintable(QString::number(centre.center().x())));
        // The 28 pt text is taller than the default height: auto-size takes the text's height too.
        const QRectF big = inkOf(r, {0, 30, 150, 30});
        QVERIFY2(big.height() > 6.5, qPrintable(QString::number(big.height())));
    }

    void fixedWidthClipsAtTheBoxAndKeepsTheBeginning() {
        const QString text = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        Report r(QStringLiteral("qr_teste"), 150, 60);
        const int band = r.addBand(QStringLiteral("detail"), 50, 148);
        for (auto [name, top, align] :
             {std::tuple{"left", 0, Qt::AlignLeft}, std::tuple{"centre", 10, Qt::AlignHCenter},
              std::tuple{"right", 20, Qt::AlignRight}}) {
            ReportElement& e = r.label(band, QString::fromLatin1(name), text, 10, top, 20);
            e.autoSize = false;
            e.alignment = align;
        }
        for (double top : {2.0, 12.0, 22.0}) {
            const QRectF ink = inkOf(r, {0, top, 150, 10});
            QVERIFY2(!ink.isNull(), "the clipped text still prints");
            QVERIFY2(ink.right() <= 31.05, qPrintable(QString::number(ink.right())));
            QVERIFY2(ink.left() >= 11 && ink.left() < 11.5, qPrintable(QString::number(ink.left())));
        }
        // The same text with room enough is aligned inside its box.
        Report roomy(QStringLiteral("qr_teste"), 150, 20);
        const int b = roomy.addBand(QStringLiteral("detail"), 10, 148);
        ReportElement& e = roomy.label(b, QStringLiteral("x"), QStringLiteral("ABC"), 10, 0, 100);
        e.autoSize = false;
        e.alignment = Qt::AlignRight;
        QVERIFY(qAbs(inkOf(roomy, wholePage).right() - 111) < 0.5);
    }

    void wordWrapBreaksLinesInsideTheBox() {
        Report r(QStringLiteral("qr_teste"), 100, 100);
        const int band = r.addBand(QStringLiteral("detail"), 90, 98);
        ReportElement& words = r.label(band, QStringLiteral("words"),
                                       QStringLiteral("UM DOIS TRES QUATRO CINCO SEIS"), 10, 0, 25);
        words.autoSize = false;
        words.wordWrap = true;
        words.height = 25;
        ReportElement& longWord =
            r.label(band, QStringLiteral("long"), QString(40, QLatin1Char('W')), 10, 40, 25);
        longWord.autoSize = false;
        longWord.wordWrap = true;
        longWord.height = 25;

        for (double top : {2.0, 42.0}) {
            const QRectF ink = inkOf(r, {0, top, 100, 30});
            QVERIFY2(ink.height() > 10, "wrapped into three lines or more");
            QVERIFY2(ink.left() >= 11 && ink.right() <= 36.05,
                     qPrintable(QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right())));
        }
    }

    void ticketTextNeverGrowsItsBox_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("fits") << "PASTEL";
        QTest::newRow("two words too wide") << "CACHORRO QUENTE";
        QTest::newRow("one word too wide") << "REFRIGERANTES15";
        QTest::newRow("accents") << "PÃO DE QUEIJO ÀÉÇ";
    }
    void ticketTextNeverGrowsItsBox() {
        QFETCH(QString, text);
        const Report r = ticket(text);
        const QRectF inBox = inkOf(r, {0, textTop, 90, textBottom - textTop});
        QVERIFY(!inBox.isNull());
        QVERIFY2(inBox.left() >= boxLeft && inBox.right() <= boxRight + 0.05,
                 qPrintable(QStringLiteral("%1..%2").arg(inBox.left()).arg(inBox.right())));
        QVERIFY2(inkOf(r, {0, textBottom, 90, footerTop - textBottom}).isNull(),
                 "nothing prints between the ticket text's box and the footer");
        QVERIFY2(inkOf(r, {0, footerTop + 5.03, 90, 100}).isNull(), "nothing prints below the footer");
        const QRectF footer = inkOf(r, {0, footerTop, 90, 5.03});
        QVERIFY2(qAbs(footer.center().x() - boxCentre) < 0.5, "the footer is centred in its box");
    }

    void bandsStackAndEmptyTextsPrintNothing() {
        Report r(QStringLiteral("qr_teste"), 89.96, 259.29);
        const int title = r.addBand(QStringLiteral("title"), 20);
        const int detail = r.addBand(QStringLiteral("detail"), 50);
        r.label(title, QStringLiteral("empty"), QString(), 0, 0, 80);
        r.dbText(title, QStringLiteral("unbound"), nullptr, QStringLiteral("cabecalho"), 0, 5, 80);
        r.label(detail, QStringLiteral("first"), QStringLiteral("HHH"), 0, 0, 20);
        const QRectF ink = inkOf(r, wholePage);
        // Capitals start below the line's top by the font's ascent less its cap height (about 0.7 mm).
        QVERIFY2(ink.top() > 22 && ink.top() < 23.2, qPrintable(QString::number(ink.top())));
        QVERIFY2(ink.left() >= 1 && ink.left() < 1.6, qPrintable(QString::number(ink.left())));
        QVERIFY(ink.bottom() < 27);
    }

    void fixedBoxPrintsOnlyTheLinesThatFit() {
        Report r(QStringLiteral("qr_teste"), 100, 100);
        const int band = r.addBand(QStringLiteral("detail"), 90, 98);
        ReportElement& memo = r.memo(band, QStringLiteral("memo"), 0, 0, 80, 9);
        r.setLines(QStringLiteral("memo"),
                   {QStringLiteral("HUM"), QStringLiteral("HDOIS"), QStringLiteral("HTRES")});
        QCOMPARE(memo.lines.size(), 3);
        const QRectF ink = inkOf(r, wholePage);
        // 10 pt lines are about 4 mm apart: two fit in 9 mm, the third is left out whole.
        QVERIFY2(ink.bottom() > 2 + 4.5 && ink.bottom() <= 2 + 9, qPrintable(QString::number(ink.bottom())));
    }

    // ---- the PDF written when no printer is installed ----

    void pdfPageHasTheReportsSize_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QSizeF>("points");
        QTest::newRow("ticket") << 90.0 << 135.0 << QSizeF(255, 383);
        QTest::newRow("opening") << 89.96 << 117.21 << QSizeF(255, 332);
        QTest::newRow("withdrawal") << 89.96 << 98.69 << QSizeF(255, 280);
        QTest::newRow("closing") << 89.96 << 259.29 << QSizeF(255, 735);
    }
    void pdfPageHasTheReportsSize() {
        needPoppler();
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QSizeF, points);
        Report r(QStringLiteral("qr_teste"), width, height);
        r.addBand(QStringLiteral("detail"), 10); // nothing in it: still one page
        const QString file = pdfOf(r);
        QCOMPARE(PdfProbe::pageCount(file), 1);
        const QSizeF size = PdfProbe::pageSizePt(file);
        QVERIFY2(PdfProbe::sizeMatchesMm(size, {width, height}),
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));
        QVERIFY(qAbs(size.width() - points.width()) <= 1 && qAbs(size.height() - points.height()) <= 1);
    }

    void pdfTextIsRealTextWhereItsElementSays() {
        needPoppler();
        Report r = ticket(QStringLiteral("PASTEL"));
        // A second band with left- and right-aligned labels and a memo, as the till reports have.
        const int detail = r.addBand(QStringLiteral("totais"), 40);
        r.label(detail, QStringLiteral("titulo"), QStringLiteral("Abertura de Caixa"), 4, 2, 60, 12, true);
        ReportElement& value =
            r.label(detail, QStringLiteral("valor"), QStringLiteral("R$ 1234,56"), 40, 10, 40);
        value.autoSize = false;
        value.alignment = Qt::AlignRight;
        r.memo(detail, QStringLiteral("memo"), 4, 18, 80, 20);
        r.setLines(QStringLiteral("memo"),
                   {QStringLiteral("Caixa nº 7"), QStringLiteral("Fichas: 12 & <3>")});

        const QString file = pdfOf(r);
        const QList<PdfProbe::Word> words = PdfProbe::words(file);
        struct Expect {
            QString phrase;
            double x; // left edge, or centre for centred texts, or right edge
            enum { Left, Centre, Right } anchor;
            double top;
        };
        const double band2 = 2.0 + 29.10;
        const QList<Expect> expected = {
            {QStringLiteral("FESTA JUNINA DA PARÓQUIA SÃO JOSÉ"), boxCentre, Expect::Centre, 2 + 1.32},
            {QStringLiteral("PASTEL"), boxCentre, Expect::Centre, textTop},
            {QStringLiteral("OBRIGADO E VOLTE SEMPRE"), boxCentre, Expect::Centre, footerTop},
            {QStringLiteral("Abertura de Caixa"), 1 + 4, Expect::Left, band2 + 2},
            {QStringLiteral("R$ 1234,56"), 1 + 40 + 40, Expect::Right, band2 + 10},
            {QStringLiteral("Caixa nº 7"), 1 + 4, Expect::Left, band2 + 18},
            {QStringLiteral("Fichas: 12 & <3>"), 1 + 4, Expect::Left, band2 + 18 + 3.5},
        };
        for (const Expect& e : expected) {
            const QRectF at = PdfProbe::find(words, e.phrase);
            QVERIFY2(!at.isNull(), qPrintable(e.phrase + QStringLiteral(" not in the PDF")));
            const double x = e.anchor == Expect::Left    ? at.left()
                             : e.anchor == Expect::Right ? at.right()
                                                         : at.center().x();
            QVERIFY2(qAbs(x - e.x) < 1.0 && qAbs(at.top() - e.top) < 1.0,
                     qPrintable(QStringLiteral("%1 at %2, %3 mm; expected %4, %5")
                                    .arg(e.phrase)
                                    .arg(x)
                                    .arg(at.top())
                                    .arg(e.x)
                                    .arg(e.top)));
        }

        // Arial prints as the metric-compatible Liberation Sans, embedded, regular and bold.
        const QStringList fonts = PdfProbe::fonts(file);
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSans-Bold yes")), qPrintable(fonts.join(", ")));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSans yes")), qPrintable(fonts.join(", ")));
        for (const QString& f : fonts)
            QVERIFY2(f.startsWith(QLatin1String("LiberationSans")) && f.endsWith(QLatin1String(" yes")),
                     qPrintable(f));
    }

    void pdfTicketBoxClipsAndNeverGrows() {
        needPoppler();
        Report r = ticket(QStringLiteral("CACHORRO QUENTE"));
        ReportElement& narrow =
            r.label(0, QStringLiteral("narrow"), QStringLiteral("MUITO LONGO PARA A CAIXA"), 0, 40, 15);
        narrow.autoSize = false;
        const QString file = pdfOf(r);

        const QList<PdfProbe::Word> words = PdfProbe::words(file);
        QVERIFY(!PdfProbe::find(words, QStringLiteral("CACHORRO")).isNull());
        QVERIFY2(PdfProbe::find(words, QStringLiteral("QUENTE")).isNull(),
                 "the wrapped line that does not fit the box is not printed over the footer");
        QVERIFY(!PdfProbe::find(words, QStringLiteral("OBRIGADO E VOLTE SEMPRE")).isNull());

        const double renderDpm = 254 / 25.4;
        const QImage page = PdfProbe::render(file, 254);
        QVERIFY(!page.isNull());
        QVERIFY(Ink::box(page, {0, textBottom, 90, footerTop - textBottom}, renderDpm).isNull());
        const QRectF clipped = Ink::box(page, {0, 42, 90, 6}, renderDpm);
        QVERIFY2(!clipped.isNull() && clipped.right() <= 1 + 15 + 0.1,
                 qPrintable(QString::number(clipped.right())));
    }

    void shrinkingTicketTextPrintsEveryWordInsideItsBox() {
        needPoppler();
        Report r = ticket(QStringLiteral("CACHORRO QUENTE"));
        r.element(QStringLiteral("impresso")).minPointSize = 12;
        const QString file = pdfOf(r);
        const QList<PdfProbe::Word> words = PdfProbe::words(file);
        QVERIFY(!PdfProbe::find(words, QStringLiteral("CACHORRO")).isNull());
        QVERIFY(!PdfProbe::find(words, QStringLiteral("QUENTE")).isNull());
        const double renderDpm = 254 / 25.4;
        const QImage page = PdfProbe::render(file, 254);
        QVERIFY(Ink::box(page, {0, textBottom, 90, footerTop - textBottom}, renderDpm).isNull());
    }

    void dbTextPrintsTheCurrentRowAtTheCall() {
        needPoppler();
        TestSupport::TestDatabase db;
        DataModule dm(db.path());
        Report r(QStringLiteral("qr_fichas"), 90, 135);
        const int band = r.addBand(QStringLiteral("detail"), 29.10);
        r.dbText(band, QStringLiteral("cabecalho"), dm.q_festa, QStringLiteral("cabecalho"), 0, 0, 80);
        QVERIFY(!PdfProbe::find(PdfProbe::words(pdfOf(r)), QStringLiteral("FESTA DA COMUNIDADE")).isNull());
        dm.q_festa->edit();
        dm.q_festa->setValue(QStringLiteral("cabecalho"), QStringLiteral("QUERMESSE 2026"));
        dm.q_festa->post();
        const QList<PdfProbe::Word> words = PdfProbe::words(pdfOf(r));
        QVERIFY(!PdfProbe::find(words, QStringLiteral("QUERMESSE 2026")).isNull());
        QVERIFY(PdfProbe::find(words, QStringLiteral("FESTA")).isNull());
        // No row at all: the text prints empty, the page still prints.
        dm.q_festa->setQuery(QStringLiteral("DELETE FROM tbl_festa"), QString());
        dm.q_festa->execSql();
        dm.q_festa->setQuery(QStringLiteral("SELECT * FROM tbl_festa"), QStringLiteral("tbl_festa"));
        dm.q_festa->open();
        const QString empty = pdfOf(r);
        QCOMPARE(PdfProbe::pageCount(empty), 1);
        QVERIFY(PdfProbe::words(empty).isEmpty());
    }

    // ---- job files ----

    void withoutPrinterEachJobIsOnePdfNamedInPrintOrder() {
        if (SystemPrintSink::hasDefaultPrinter())
            QSKIP("a printer is installed (the print server should not be reachable in this test)");
        const QString folder = m_dir.filePath(QStringLiteral("home/quorvanta/impressos"));
        SystemPrintSink::setPdfFolder(folder);
        Printing::setSink(nullptr);

        const QStringList texts = {QStringLiteral("PRIMEIRA"), QStringLiteral("SEGUNDA"),
                                   QStringLiteral("TERCEIRA")};
        Report opening(QStringLiteral("qr_abertura"), 89.96, 117.21);
        opening.addBand(QStringLiteral("detail"), 40);
        opening.label(0, QStringLiteral("texto"), texts[1], 0, 0, 80);
        ticket(texts[0]).print();
        opening.print();
        Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 34)));
        ticket(texts[2]).print();

        const QStringList files = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 3);
        static const QRegularExpression name(
            QStringLiteral("^20261209-14053([34])-(\\d{6})-(fichas|abertura)\\.pdf$"));
        QStringList reports;
        int previous = 0;
        for (const QString& f : files) {
            const QRegularExpressionMatch m = name.match(f);
            QVERIFY2(m.hasMatch(), qPrintable(f));
            QCOMPARE(m.captured(2).toInt(), previous + 1);
            previous = m.captured(2).toInt();
            reports << m.captured(3);
        }
        QCOMPARE(reports, (QStringList{QStringLiteral("fichas"), QStringLiteral("abertura"),
                                       QStringLiteral("fichas")}));
        if (PdfProbe::available())
            for (int i = 0; i < 3; ++i)
                QVERIFY2(
                    !PdfProbe::find(PdfProbe::words(folder + QLatin1Char('/') + files[i]), texts[i]).isNull(),
                    qPrintable(files[i]));
    }

    void jobNumbersGoOnFromTheFolderAndNeverOverwrite() {
        const QString folder = m_dir.filePath(QStringLiteral("continua"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString& old :
             {QStringLiteral("20261208-220000-000041-fichas.pdf"), QStringLiteral("notas.pdf")}) {
            QFile f(folder + QLatin1Char('/') + old);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString file = SystemPrintSink::writePdf(ticket(QStringLiteral("PASTEL")), folder);
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("20261209-140533-000042-fichas.pdf"));
        QVERIFY(QFileInfo(file).size() > 0);
        QCOMPARE(QFileInfo(folder + QStringLiteral("/20261208-220000-000041-fichas.pdf")).size(), 0);
    }

    void pdfFolderThatCannotBeMadeRaisesPrintError() {
        QFile blocker(m_dir.filePath(QStringLiteral("arquivo")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        try {
            SystemPrintSink::writePdf(ticket(QStringLiteral("PASTEL")),
                                      blocker.fileName() + QStringLiteral("/impressos"));
            QFAIL("no error");
        } catch (const PrintError& e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Não foi possível criar a pasta de impressão")),
                     qPrintable(e.text()));
        }
    }
};

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    // No print server for this program: printing falls back to the PDF folder whatever the machine has.
    qputenv("CUPS_SERVER", "/nonexistent/quorvanta-test/cups.sock");
    QGuiApplication app(argc, argv);
    TestReport tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_report.moc"
