#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <Qt>
#include <memory>

class Dataset;
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
};

struct ReportBand {
    QString name;
    double height = 0;
    double width = 0;
};

class Report;

// Where a report goes when printed. The program prints to the default printer (or a PDF file when
// there is none); tests record the jobs.
class PrintSink {
public:
    virtual ~PrintSink() = default;
    virtual void print(const Report& report) = 0; // raises PrintError
};

namespace Printing {
PrintSink& sink();
void setSink(PrintSink* sink); // nullptr restores the system's
} // namespace Printing

// A banded report with a fixed page: title band (optional) then detail band, printed once per call.
class Report {
public:
    Report(const QString& name, double pageWidthMm, double pageHeightMm);
    virtual ~Report() = default;

    QString name() const { return m_name; }
    QSizeF pageSizeMm() const { return m_page; }
    double marginTop = 2.0, marginBottom = 5.0, marginLeft = 1.0, marginRight = 1.0;

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
    void print() const;

    // Paints the page onto a device whose origin is the page's top-left corner.
    void paint(QPainter& painter, double dotsPerMm) const;

private:
    QString m_name;
    QSizeF m_page;
    QList<ReportBand> m_bands;
    QList<ReportElement> m_elements;
};

// Prints to the default printer through the system's print service (CUPS, through Qt's print support);
// with no printer installed, writes each job as one PDF page into a folder (by default
// ~/quorvanta/impressos), named <date>-<time>-<sequence>-<report>.pdf so that the files sort in the order
// printed. A job the print service refuses raises PrintError.
class SystemPrintSink : public PrintSink {
public:
    void print(const Report& report) override;
    static QString pdfFolder();
    static void setPdfFolder(const QString& folder); // empty restores the default
    // The printer jobs go to; empty (the default) means the system's default printer.
    static QString printerName();
    static void setPrinterName(const QString& name);
    static bool hasDefaultPrinter();
    // Writes one job as a PDF file; returns its path.
    static QString writePdf(const Report& report, const QString& folder);
};
