#include "report.h"

#include "dataset.h"
#include "errors.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

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
QAtomicInt jobCounter;
} // namespace

namespace Printing {
PrintSink& sink() {
    return currentSink() ? *currentSink() : systemSink();
}
void setSink(PrintSink* s) {
    currentSink() = s;
}
} // namespace Printing

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

void Report::print() const {
    Printing::sink().print(*this);
}

void Report::paint(QPainter& painter, double dpm) const {
    const double dpi = dpm * 25.4;
    double bandTop = marginTop;
    for (int b = 0; b < m_bands.size(); ++b) {
        for (const ReportElement& e : m_elements) {
            if (e.band != b) continue;
            const QString text = e.text();
            if (text.isEmpty()) continue;
            QFont font(e.family);
            font.setPointSizeF(e.pointSize);
            font.setBold(e.bold);
            font.setStyleStrategy(QFont::PreferOutline);
            painter.setFont(font);
            // Font sizes follow the device's resolution; positions are converted from millimetres.
            const QFontMetricsF fm(font, painter.device());
            double left = e.left;
            double width = e.width;
            if (e.autoSize && e.kind != ReportElement::Kind::Memo) {
                // The label takes the width of its text and keeps its alignment within the designed
                // width: a centred label grows on both sides, a right-aligned one to the left.
                const double textWidthMm = fm.horizontalAdvance(text) / dpm;
                if (e.width > 0 && (e.alignment & Qt::AlignHCenter))
                    left += (e.width - textWidthMm) / 2;
                else if (e.width > 0 && (e.alignment & Qt::AlignRight))
                    left += e.width - textWidthMm;
                width = textWidthMm;
            }
            const QRectF rect((marginLeft + left) * dpm, (bandTop + e.top) * dpm, width * dpm,
                              e.height * dpm);
            int flags = int(e.alignment) | Qt::AlignTop;
            if (e.wordWrap) flags |= Qt::TextWordWrap;
            painter.save();
            painter.setClipRect(rect);
            painter.setPen(Qt::black);
            painter.drawText(rect, flags, text);
            painter.restore();
            Q_UNUSED(dpi);
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

bool SystemPrintSink::hasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

QString SystemPrintSink::writePdf(const Report& report, const QString& folder) {
    if (!QDir().mkpath(folder))
        throw PrintError(QStringLiteral("Não foi possível criar a pasta de impressão '%1'.").arg(folder));
    const QString file =
        QStringLiteral("%1/%2-%3-%4.pdf")
            .arg(folder, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
            .arg(jobCounter.fetchAndAddRelaxed(1) + 1, 6, 10, QLatin1Char('0'))
            .arg(report.name().startsWith(QLatin1String("qr_")) ? report.name().mid(3) : report.name());
    QPdfWriter writer(file);
    writer.setResolution(1200);
    writer.setTitle(report.name());
    writer.setCreator(QStringLiteral("Quorvanta 3.0"));
    writer.setPageLayout(
        QPageLayout(QPageSize(report.pageSizeMm(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) throw PrintError(QStringLiteral("Não foi possível gravar '%1'.").arg(file));
    report.paint(painter, writer.resolution() / 25.4);
    painter.end();
    return file;
}

void SystemPrintSink::print(const Report& report) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        writePdf(report, pdfFolder());
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(report.name());
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(report.pageSizeMm(), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintError(QStringLiteral("Não foi possível imprimir em '%1'.").arg(info.printerName()));
    report.paint(painter, printer.resolution() / 25.4);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PrintError(QStringLiteral("A impressora '%1' recusou o trabalho.").arg(info.printerName()));
}
