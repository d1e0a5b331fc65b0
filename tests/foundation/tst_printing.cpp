// The real print path: a report printed through the system's default printer (CUPS, through Qt's print
// support) comes out of a PDF queue as one page of the report's size with its texts; printers that are
// missing or refuse the job raise PrintError. The PDF queue is what scripts/setup-cups-pdf.sh installs; on
// a machine without it the tests that need it are skipped.

#include "foundation/errors.h"
#include "pdfprobe.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <unistd.h>

namespace {

// Where a CUPS-PDF queue writes its jobs: the Out setting of its configuration, when it is one fixed
// folder (not per user).
QString cupsPdfFolder() {
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (!conf.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    QString out;
    while (!conf.atEnd()) {
        const QString line = QString::fromUtf8(conf.readLine()).trimmed();
        if (line.startsWith(QLatin1String("Out ")) || line.startsWith(QLatin1String("Out\t")))
            out = line.mid(4).trimmed();
    }
    if (!out.startsWith(QLatin1Char('/')) || out.contains(QLatin1Char('$')) || !QDir(out).exists())
        return QString();
    return out;
}

// A job's PDF in the queue's folder: the queue names it after the job's title (the report's name).
QString jobFile(const QString& folder, const QString& reportName) {
    const QStringList found =
        QDir(folder).entryList({QStringLiteral("%1*.pdf").arg(reportName)}, QDir::Files | QDir::Readable);
    return found.isEmpty() ? QString() : folder + QLatin1Char('/') + found.first();
}

// Runs an administration command to its end; false when it is missing, fails or takes over 30 s.
bool admin(const QString& program, const QStringList& args, QString* output = nullptr) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return false;
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (output) *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

Report ticketLike(const QString& name) {
    Report r(name, 90.0, 135.0);
    const int band = r.addBand(QStringLiteral("detail"), 29.10);
    const struct {
        const char* name;
        QString text;
        double top, height, size;
    } boxes[] = {{"cabecalho", QStringLiteral("FESTA JUNINA DA PARÓQUIA"), 1.32, 5.03, 11},
                 {"impresso", QStringLiteral("PASTEL"), 8.73, 11.91, 28},
                 {"rodape", QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 23.28, 5.03, 10}};
    for (const auto& b : boxes) {
        ReportElement& e =
            r.label(band, QString::fromLatin1(b.name), b.text, 0.26, b.top, 81.49, b.size, true);
        e.autoSize = false;
        e.wordWrap = true;
        e.height = b.height;
        e.alignment = Qt::AlignHCenter;
    }
    return r;
}

void expectPrintError(const Report& report, const QString& start) {
    try {
        Printing::sink().print(report);
        QFAIL("the print did not fail");
    } catch (const PrintError& e) {
        QVERIFY2(e.text().startsWith(start), qPrintable(e.text()));
    }
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QString m_unique;
    QString reportName(const QString& what) const { return QStringLiteral("qr_%1_%2").arg(m_unique, what); }

private slots:
    void initTestCase() {
        m_unique = QStringLiteral("teste_%1_%2").arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch());
        Printing::setSink(nullptr);
    }
    void cleanup() { SystemPrintSink::setPrinterName(QString()); }

    void qtSeesTheSystemsDefaultPrinter() {
        QString out;
        if (!admin(QStringLiteral("lpstat"), {QStringLiteral("-d")}, &out)) QSKIP("no print server running");
        static const QRegularExpression re(QStringLiteral("destination: (\\S+)"));
        const QRegularExpressionMatch m = re.match(out);
        if (!m.hasMatch()) QSKIP("the print server has no default printer");
        // Without Qt's CUPS print support the program would see no printer and silently write PDFs.
        QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), m.captured(1));
    }

    void printsThroughTheDefaultPrinter() {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull()) QSKIP("no default printer (run scripts/setup-cups-pdf.sh as root)");
        if (!printer.makeAndModel().contains(QLatin1String("CUPS-PDF")))
            QSKIP("the default printer is not a CUPS-PDF queue: nothing is printed on a real printer");
        const QString folder = cupsPdfFolder();
        if (folder.isEmpty())
            QSKIP("the CUPS-PDF output folder is not one fixed folder (run scripts/setup-cups-pdf.sh)");
        if (!PdfProbe::available()) QSKIP("poppler-utils not installed");

        // A ticket and a long till report: two custom page sizes that must reach the printer as they are.
        const Report ticket = ticketLike(reportName(QStringLiteral("fichas")));
        Report closing(reportName(QStringLiteral("fechamento")), 89.96, 259.29);
        closing.addBand(QStringLiteral("detail"), 250);
        closing.label(0, QStringLiteral("rodape"), QStringLiteral("Fechamento de Caixa"), 10, 230, 60, 12,
                      true);

        QElapsedTimer clock;
        clock.start();
        ticket.print();
        const qint64 handedOver = clock.elapsed();
        closing.print();
        QString ticketPdf, closingPdf;
        QTRY_VERIFY_WITH_TIMEOUT(!(ticketPdf = jobFile(folder, ticket.name())).isEmpty() &&
                                     PdfProbe::pageCount(ticketPdf) == 1 &&
                                     !(closingPdf = jobFile(folder, closing.name())).isEmpty() &&
                                     PdfProbe::pageCount(closingPdf) == 1,
                                 60000);
        qInfo("first job handed over in %lld ms; both PDFs complete after %lld ms", handedOver,
              clock.elapsed());

        QSizeF size = PdfProbe::pageSizePt(ticketPdf);
        QVERIFY2(PdfProbe::sizeMatchesMm(size, {90, 135}),
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));
        size = PdfProbe::pageSizePt(closingPdf);
        QVERIFY2(PdfProbe::sizeMatchesMm(size, {89.96, 259.29}),
                 qPrintable(QStringLiteral("%1 x %2 pt").arg(size.width()).arg(size.height())));

        const double centre = 1.0 + 0.26 + 81.49 / 2;
        const QList<PdfProbe::Word> words = PdfProbe::words(ticketPdf);
        const struct {
            QString phrase;
            double top;
        } expected[] = {{QStringLiteral("FESTA JUNINA DA PARÓQUIA"), 2 + 1.32},
                        {QStringLiteral("PASTEL"), 2 + 8.73},
                        {QStringLiteral("OBRIGADO E VOLTE SEMPRE"), 2 + 23.28}};
        for (const auto& e : expected) {
            const QRectF at = PdfProbe::find(words, e.phrase);
            QVERIFY2(!at.isNull(), qPrintable(e.phrase + QStringLiteral(" is not text in the printed PDF")));
            QVERIFY2(qAbs(at.center().x() - centre) < 1.0 && qAbs(at.top() - e.top) < 1.0,
                     qPrintable(
                         QStringLiteral("%1 at %2, %3 mm").arg(e.phrase).arg(at.center().x()).arg(at.top())));
        }
        const QRectF footer =
            PdfProbe::find(PdfProbe::words(closingPdf), QStringLiteral("Fechamento de Caixa"));
        QVERIFY2(!footer.isNull() && qAbs(footer.left() - 11) < 1.0 && qAbs(footer.top() - 232) < 1.0,
                 qPrintable(QStringLiteral("%1, %2 mm").arg(footer.left()).arg(footer.top())));
        for (const QString& f : PdfProbe::fonts(ticketPdf))
            QVERIFY2(f.startsWith(QLatin1String("LiberationSans")) && f.endsWith(QLatin1String(" yes")),
                     qPrintable(f));

        QFile::remove(ticketPdf);
        QFile::remove(closingPdf);
    }

    void missingPrinterRaisesPrintError() {
        SystemPrintSink::setPrinterName(QStringLiteral("Quorvanta_Inexistente"));
        expectPrintError(ticketLike(reportName(QStringLiteral("inexistente"))),
                         QStringLiteral("A impressora \"Quorvanta_Inexistente\" não está instalada."));
    }

    void refusedJobRaisesPrintError() {
        if (geteuid() != 0) QSKIP("adding a print queue needs root");
        if (!admin(QStringLiteral("lpstat"), {QStringLiteral("-r")})) QSKIP("no print server running");
        // A queue of its own that refuses every job; the default printer is left alone.
        const QString queue = QStringLiteral("Quorvanta_Recusa_%1").arg(getpid());
        QStringList args = {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                            QStringLiteral("cups-pdf:/")};
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        if (QFile::exists(ppd)) args << QStringLiteral("-P") << ppd;
        if (!admin(QStringLiteral("lpadmin"), args)) QSKIP("could not add a print queue");
        struct Remove {
            QString queue;
            ~Remove() { admin(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue}); }
        } remove{queue};
        QVERIFY(admin(QStringLiteral("cupsreject"), {QStringLiteral("-r"), QStringLiteral("teste"), queue}));
        QTRY_VERIFY(!QPrinterInfo::printerInfo(queue).isNull());

        SystemPrintSink::setPrinterName(queue);
        expectPrintError(
            ticketLike(reportName(QStringLiteral("recusa"))),
            QStringLiteral("A impressora \"%1\" recusou a impressão: a fila não está aceitando trabalhos")
                .arg(queue));
    }
};

QUORVANTA_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
