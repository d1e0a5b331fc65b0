#pragma once

// core/print: the report engine (banded pages, PDF) and the print server the pages go to.

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <Qt>
#include <memory>

class Dataset;
class QFont;
class QPainter;

// One printed element of a band, positioned in millimetres from the band's top-left corner.
struct ReportElement {
    enum class Kind { Label, DBText, Memo };
    Kind kind = Kind::Label;
    QString name;
    int band = 0;
    double left = 0, top = 0, width = 0, height = 4.5;
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool wordWrap = false;
    // Auto-size: the element takes the size of its text, anchored at its left edge (right edge for right
    // alignment, centre for centred). Otherwise the text stays inside left/top/width/height: a line too
    // wide is cut at the edges (showing its beginning), word wrap breaks lines at the width (inside a
    // word when one word is wider than the box), and only lines that fit the height in full print.
    bool autoSize = true;
    // A fixed box with a smallest size: a text that does not fit whole at pointSize is printed smaller,
    // in steps of half a point down to this size, so it is never cut. 0: no shrinking.
    double minPointSize = 0;
    QString caption;            // Label
    QStringList lines;          // Memo
    Dataset* dataset = nullptr; // DBText: field of the dataset's current row at print time
    QString field;

    QString text() const; // what prints now
    QFont font() const;   // the font it prints in, at pointSize
};

struct ReportBand {
    QString name;
    double height = 0;
    double width = 0;
};

class Report;

// What one print handed over: the printer and the print server's number for the job; or, with no
// printer at all, the PDF file written (id 0). Test sinks give a name of their own and increasing ids.
struct PrintJob {
    QString destination;
    int id = 0;
    bool isFile() const { return id == 0; }
    friend bool operator==(const PrintJob&, const PrintJob&) = default;
};

// Where a report goes when printed. The program prints to the default printer (or a PDF file when
// there is none); tests record the jobs.
class PrintSink {
public:
    virtual ~PrintSink() = default;
    virtual PrintJob print(const Report& report) = 0; // raises PrintError
    // Where the next print goes, found before it is made (a batch's printer is looked up and checked
    // here): "pdf:<folder>", "cups:<printer>", or whatever the sink names itself. Raises PrintError when
    // nothing can print now. Empty: the sink cannot tell.
    virtual QString route() { return {}; }
    // Around the prints of one batch (see PrintSession); never nested.
    virtual void beginBatch() {}
    virtual void endBatch() {}
};

namespace Printing {
PrintSink& sink();
void setSink(PrintSink* sink); // nullptr restores the system's
} // namespace Printing

// Groups the prints made while it lives into one batch (a sale's tickets, a report): the printer is
// looked up and its queue checked once, before the first job, and the jobs share one connection to the
// print server. Still one job per print, in the order printed. A print outside any session is a batch of
// one. Sessions nest: only the outermost one counts.
class PrintSession {
public:
    PrintSession();
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

private:
    PrintSink* m_sink = nullptr; // the sink the batch was opened on (when this session is the outermost)
};

// A banded report with a fixed page: title band (optional) then detail band, printed once per call.
class Report {
public:
    Report(const QString& name, double pageWidthMm, double pageHeightMm);
    virtual ~Report() = default;

    QString name() const { return m_name; }
    QSizeF pageSizeMm() const { return m_page; }
    // The name of the printed document this page is (empty: none): the PDF file's name ends with it and
    // the print server's job carries it as its title, so that the printer's side can tell afterwards
    // whether the document reached it.
    QString document() const { return m_document; }
    void setDocument(const QString& document) { m_document = document; }
    // The title a print job of this page carries.
    QString jobTitle() const;
    // Everything the page shows as it is now, so that a page equal to one already rendered is not
    // rendered again (a sale's tickets repeat).
    QByteArray pageKey() const;
    double marginTop = 2.0, marginBottom = 5.0, marginLeft = 1.0, marginRight = 1.0;
    // On a receipt roll narrower than the page, laid out again across the roll (see RollLayout) rather
    // than shrunk to it: for a page of texts one below the other, such as a ticket.
    bool flowsOnRoll = false;

    int addBand(const QString& name, double heightMm, double widthMm = 87.84);
    ReportElement& label(int band, const QString& name, const QString& caption, double left, double top,
                         double width, double pointSize = 10, bool bold = false);
    ReportElement& dbText(int band, const QString& name, Dataset* dataset, const QString& field, double left,
                          double top, double width, double pointSize = 10, bool bold = false);
    ReportElement& memo(int band, const QString& name, double left, double top, double width, double height);

    ReportElement& element(const QString& name); // raises AppError for an unknown name
    const QList<ReportElement>& elements() const { return m_elements; }
    const QList<ReportBand>& bands() const { return m_bands; }

    void setCaption(const QString& element, const QString& text);
    QString caption(const QString& element) const;
    void setLines(const QString& memo, const QStringList& lines);

    // Lays out the page with the texts as they are now and hands one job to the sink.
    PrintJob print() const;

    // Paints the page onto a device whose origin is the page's top-left corner.
    void paint(QPainter& painter, double dotsPerMm) const;

private:
    QString m_name;
    QString m_document;
    QSizeF m_page;
    QList<ReportBand> m_bands;
    QList<ReportElement> m_elements;
};

// Prints to the default printer through the system's print server (CUPS): each job is the report's page
// as a one-page PDF document. Before a batch's first job the printer's queue is checked: a stopped queue,
// one that does not accept jobs or a printer reporting a stop reason (no paper, cover open, offline)
// prints nothing and raises PrintError. A job the print server refuses raises PrintError.
// With no printer at all (no print server, or one without any printer) each job is written as one PDF
// page into a folder (by default ~/quorvanta/impressos), named <date>-<time>-<sequence>-<report>.pdf so
// that the files sort in the order printed (…-<report>-<document>.pdf for a named document). Once a job went
// to a printer that printer is remembered: from then on a print server that does not answer or a printer that
// is gone is an error, never a PDF.
class SystemPrintSink : public PrintSink {
public:
    SystemPrintSink();
    ~SystemPrintSink() override;
    PrintJob print(const Report& report) override;
    QString route() override;
    void beginBatch() override;
    void endBatch() override;

    static QString pdfFolder();
    static void setPdfFolder(const QString& folder); // empty restores the default
    // The printer jobs go to; empty (the default) means the system's default printer.
    static QString printerName();
    static void setPrinterName(const QString& name);
    // The printer the last job went to in this run; empty before any job reached a printer.
    static QString rememberedPrinter();
    static void forgetPrinter();
    static bool hasDefaultPrinter();
    // The report's page as a one-page PDF document.
    static QByteArray renderPdf(const Report& report);
    // Writes one job as a PDF file, whole or not at all; returns its path.
    static QString writePdf(const Report& report, const QString& folder);

private:
    struct Batch;
    std::unique_ptr<Batch> m_batch;
    int m_depth = 0;
};
