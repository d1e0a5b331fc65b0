#include "report.h"

#include "core/base/clock.h"
#include "core/base/errors.h"
#include "core/db/dataset.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHash>
#include <QMutex>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTextLayout>

QString ReportElement::text() const {
    switch (kind) {
    case Kind::Label:
        return caption;
    case Kind::DBText:
        if (!dataset || !dataset->isActive() || !dataset->hasField(field)) return QString();
        return dataset->asString(field);
    case Kind::Memo:
        return lines.join(QLatin1Char('\n'));
    }
    return QString();
}

QFont ReportElement::font() const {
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferOutline);
    // Unhinted metrics: the text takes the same width on the printer, in the PDF and on screen.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

namespace {
SystemPrintSink& systemSink() {
    static SystemPrintSink s;
    return s;
}
PrintSink*& currentSink() {
    static PrintSink* s = nullptr;
    return s;
}
QString& pdfFolderOverride() {
    static QString f;
    return f;
}
} // namespace

namespace Printing {
PrintSink& sink() {
    return currentSink() ? *currentSink() : systemSink();
}
void setSink(PrintSink* s) {
    currentSink() = s;
}
} // namespace Printing

namespace {
int& sessionDepth() {
    static int depth = 0;
    return depth;
}
} // namespace

PrintSession::PrintSession() {
    if (sessionDepth()++ > 0) return;
    m_sink = &Printing::sink();
    m_sink->beginBatch();
}

PrintSession::~PrintSession() {
    --sessionDepth();
    if (m_sink) m_sink->endBatch();
}

Report::Report(const QString& name, double pageWidthMm, double pageHeightMm)
    : m_name(name), m_page(pageWidthMm, pageHeightMm) {}

int Report::addBand(const QString& name, double heightMm, double widthMm) {
    m_bands.append({name, heightMm, widthMm});
    return int(m_bands.size()) - 1;
}

ReportElement& Report::label(int band, const QString& name, const QString& caption, double left, double top,
                             double width, double pointSize, bool bold) {
    ReportElement e;
    e.kind = ReportElement::Kind::Label;
    e.band = band;
    e.name = name;
    e.caption = caption;
    e.left = left;
    e.top = top;
    e.width = width;
    e.pointSize = pointSize;
    e.bold = bold;
    m_elements.append(e);
    return m_elements.last();
}

ReportElement& Report::dbText(int band, const QString& name, Dataset* dataset, const QString& field,
                              double left, double top, double width, double pointSize, bool bold) {
    ReportElement& e = label(band, name, QString(), left, top, width, pointSize, bold);
    e.kind = ReportElement::Kind::DBText;
    e.dataset = dataset;
    e.field = field;
    return e;
}

ReportElement& Report::memo(int band, const QString& name, double left, double top, double width,
                            double height) {
    ReportElement& e = label(band, name, QString(), left, top, width);
    e.kind = ReportElement::Kind::Memo;
    e.height = height;
    e.autoSize = false;
    e.wordWrap = true;
    return e;
}

ReportElement& Report::element(const QString& name) {
    for (ReportElement& e : m_elements)
        if (e.name == name) return e;
    throw AppError(QStringLiteral("%1: elemento '%2' inexistente.").arg(m_name, name));
}

void Report::setCaption(const QString& name, const QString& text) {
    element(name).caption = text;
}

QString Report::caption(const QString& name) const {
    return const_cast<Report*>(this)->element(name).caption;
}

void Report::setLines(const QString& name, const QStringList& lines) {
    element(name).lines = lines;
}

QString Report::jobTitle() const {
    return m_document.isEmpty() ? m_name : m_name + QLatin1Char('-') + m_document;
}

QByteArray Report::pageKey() const {
    const Report& report = *this;
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << report.name() << report.pageSizeMm() << report.marginTop << report.marginLeft
        << report.flowsOnRoll;
    for (const ReportBand& b : report.bands())
        out << b.height;
    for (const ReportElement& e : report.elements())
        out << int(e.kind) << e.band << e.left << e.top << e.width << e.height << e.family << e.pointSize
            << e.bold << int(e.alignment) << e.wordWrap << e.autoSize << e.minPointSize << e.text();
    return key;
}

PrintJob Report::print() const {
    return Printing::sink().print(*this);
}

namespace {

QFont elementFont(const ReportElement& e) {
    return e.font();
}

// Lays out and paints one element's text; origin is the element's band's top-left corner in dots.
// Whether the whole text fits its fixed box at the element's size, lines broken only between words.
bool fitsWhole(QPainter& painter, const ReportElement& e, const QString& body, double dpm) {
    QTextLayout layout(body, elementFont(e), painter.device());
    QTextOption option;
    option.setWrapMode(e.wordWrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const double slack = 0.05 * dpm;
    double y = 0;
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(e.width * dpm);
        y += line.height();
        fits = fits && line.naturalTextWidth() <= e.width * dpm + slack;
    }
    layout.endLayout();
    return fits && y <= e.height * dpm + slack;
}

// paper: the page in dots, in the painter's coordinates.
void paintElement(QPainter& painter, const ReportElement& e, const QString& text, QPointF origin, double dpm,
                  const QRectF& paper) {
    const bool fixed = !e.autoSize || e.kind == ReportElement::Kind::Memo;
    if (fixed) {
        // A fixed box never reaches past the paper: what would print there is not printed.
        const double left = origin.x() + e.left * dpm, top = origin.y() + e.top * dpm;
        const double width = qMax(0.0, qMin(e.width * dpm, paper.right() - left) / dpm);
        const double height = qMax(0.0, qMin(e.height * dpm, paper.bottom() - top) / dpm);
        if (width < e.width || height < e.height) {
            ReportElement inside = e;
            inside.width = width;
            inside.height = height;
            paintElement(painter, inside, text, origin, dpm, paper);
            return;
        }
    }
    if (fixed && e.minPointSize > 0 && e.minPointSize <= e.pointSize) {
        ReportElement smaller = e;
        smaller.minPointSize = 0;
        while (smaller.pointSize - 0.5 >= e.minPointSize && !fitsWhole(painter, smaller, text, dpm))
            smaller.pointSize -= 0.5;
        // Smaller than that is no longer readable: the text wraps inside its box instead (inside a word
        // when one word is wider than the box), and lines below the box are left out.
        if (!fitsWhole(painter, smaller, text, dpm)) smaller.wordWrap = true;
        paintElement(painter, smaller, text, origin, dpm, paper);
        return;
    }
    const double boxWidth = e.width * dpm;
    QString body = text;
    body.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    body.replace(QLatin1Char('\n'), QChar::LineSeparator);

    QTextLayout layout(body, elementFont(e), painter.device());
    QTextOption option;
    option.setWrapMode(fixed && e.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0, textWidth = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(fixed ? boxWidth : 1e9);
        line.setPosition(QPointF(0, y));
        y += line.height();
        textWidth = qMax(textWidth, line.naturalTextWidth());
    }
    layout.endLayout();

    QRectF box(e.left * dpm, e.top * dpm, boxWidth, e.height * dpm);
    box.translate(origin);
    if (!fixed) {
        const double anchor = e.alignment & Qt::AlignRight     ? box.right() - textWidth
                              : e.alignment & Qt::AlignHCenter ? box.center().x() - textWidth / 2
                                                               : box.left();
        box = QRectF(anchor, box.top(), textWidth, y);
    }

    painter.save();
    if (fixed) painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(Qt::black);
    const double slack = 0.05 * dpm; // rounding: a line that fits to a twentieth of a millimetre fits
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        if (i > 0 && line.y() + line.height() > box.height() + slack)
            break; // the box never grows: lines that do not fit in full are left out
        // A line wider than its box shows its beginning, whatever the alignment.
        const double room = box.width() - line.naturalTextWidth();
        double x = 0;
        if (room > 0 && (e.alignment & Qt::AlignRight))
            x = room;
        else if (room > 0 && (e.alignment & Qt::AlignHCenter))
            x = room / 2;
        line.setPosition(QPointF(x, line.y()));
        line.draw(&painter, box.topLeft());
    }
    painter.restore();
}

} // namespace

void Report::paint(QPainter& painter, double dpm) const {
    double bandTop = marginTop;
    const QRectF paper(0, 0, m_page.width() * dpm, m_page.height() * dpm);
    for (int b = 0; b < m_bands.size(); ++b) {
        for (const ReportElement& e : m_elements) {
            if (e.band != b) continue;
            const QString text = e.text();
            if (!text.isEmpty())
                paintElement(painter, e, text, QPointF(marginLeft * dpm, bandTop * dpm), dpm, paper);
        }
        bandTop += m_bands[b].height;
    }
}

QString SystemPrintSink::pdfFolder() {
    if (!pdfFolderOverride().isEmpty()) return pdfFolderOverride();
    return QDir::homePath() + QStringLiteral("/quorvanta/impressos");
}

void SystemPrintSink::setPdfFolder(const QString& folder) {
    pdfFolderOverride() = folder;
}

namespace {

QPageLayout pageLayoutOf(const Report& report) {
    return QPageLayout(
        QPageSize(report.pageSizeMm(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QString fileReportName(const Report& report) {
    QString name = report.jobTitle();
    if (name.startsWith(QLatin1String("qr_"))) name = name.mid(3);
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('-')) c = QLatin1Char('_');
    return name;
}

// The next job number for a folder: one past the highest already there, so that a restarted program
// goes on where the last one stopped and never overwrites a job.
int nextJobNumber(const QString& folder) {
    static QMutex mutex;
    static QHash<QString, int> last;
    QMutexLocker lock(&mutex);
    const QString key = QDir(folder).absolutePath();
    auto it = last.find(key);
    if (it == last.end()) {
        static const QRegularExpression pattern(QStringLiteral("^\\d{8}-\\d{6}-(\\d+)-"));
        int highest = 0;
        const QStringList names = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        for (const QString& n : names) {
            const QRegularExpressionMatch m = pattern.match(n);
            if (m.hasMatch()) highest = qMax(highest, m.captured(1).toInt());
        }
        it = last.insert(key, highest);
    }
    return ++*it;
}

} // namespace

namespace {
// Paints the report as the one page of a PDF document written to `device`; false when it failed.
bool paintPdf(const Report& report, QIODevice* device) {
    QPdfWriter writer(device);
    writer.setResolution(1200);
    writer.setTitle(report.name());
    writer.setCreator(QStringLiteral("Quorvanta 3.0"));
    writer.setPageLayout(pageLayoutOf(report));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    report.paint(painter, writer.resolution() / 25.4);
    return painter.end();
}
} // namespace

QByteArray SystemPrintSink::renderPdf(const Report& report) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    if (!paintPdf(report, &buffer))
        throw PrintError(
            QStringLiteral("Não foi possível preparar a impressão de \"%1\".").arg(report.name()));
    return pdf;
}

QString SystemPrintSink::writePdf(const Report& report, const QString& folder) {
    if (!QDir().mkpath(folder))
        throw PrintError(QStringLiteral("Não foi possível criar a pasta de impressão \"%1\".").arg(folder));
    // Written aside under a hidden name and renamed when complete: a job file is whole or absent.
    QTemporaryFile file(folder + QStringLiteral("/.impressao-XXXXXX"));
    if (!file.open())
        throw PrintError(QStringLiteral("Não foi possível gravar um arquivo de impressão em \"%1\": %2")
                             .arg(folder, file.errorString()));
    if (!paintPdf(report, &file) || !file.flush() || file.error() != QFileDevice::NoError)
        throw PrintError(
            QStringLiteral("Não foi possível gravar um arquivo de impressão em \"%1\".").arg(folder));
    const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (;;) {
        QString name = QStringLiteral("%1/%2-%3-%4.pdf")
                           .arg(folder, stamp)
                           .arg(nextJobNumber(folder), 6, 10, QLatin1Char('0'))
                           .arg(fileReportName(report));
        // The rename never replaces a file: a name taken meanwhile moves on to the next number.
        if (file.rename(name)) {
            file.setAutoRemove(false);
            return name;
        }
        if (!QFile::exists(name))
            throw PrintError(QStringLiteral("Não foi possível gravar o arquivo de impressão \"%1\": %2")
                                 .arg(name, file.errorString()));
    }
}
