#pragma once

// Reads printed PDF files back with poppler's command-line tools (pdfinfo, pdftotext, pdffonts,
// pdftoppm), so tests can check page sizes, texts, their places and fonts.

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <climits>

namespace PdfProbe {

constexpr double mmPerPt = 25.4 / 72.0;

inline bool available() {
    for (const char* tool : {"pdfinfo", "pdftotext", "pdffonts", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

// Runs a program to its end (at most 30 s) and returns what it printed; empty on any failure.
inline QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return QString();
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pageCount(const QString& file) {
    static const QRegularExpression re(QStringLiteral("^Pages:\\s+(\\d+)"),
                                       QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = re.match(run(QStringLiteral("pdfinfo"), {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The first page's size in points (PDF keeps whole points: 90 x 135 mm comes out as 255 x 383).
inline QSizeF pageSizePt(const QString& file) {
    static const QRegularExpression re(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                       QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = re.match(run(QStringLiteral("pdfinfo"), {file}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

inline bool sizeMatchesMm(QSizeF pt, QSizeF mm, double tolerancePt = 1.0) {
    return qAbs(pt.width() - mm.width() / mmPerPt) <= tolerancePt &&
           qAbs(pt.height() - mm.height() / mmPerPt) <= tolerancePt;
}

// One word as pdftotext finds it, with its box in millimetres from the page's top-left corner.
struct Word {
    QString text;
    QRectF mm;
};

inline QList<Word> words(const QString& file) {
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                       "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> out;
    const QString xml =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    for (auto it = re.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString text = m.captured(5);
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        const QPointF topLeft(m.captured(1).toDouble() * mmPerPt, m.captured(2).toDouble() * mmPerPt);
        const QPointF bottomRight(m.captured(3).toDouble() * mmPerPt, m.captured(4).toDouble() * mmPerPt);
        out.append({text, QRectF(topLeft, bottomRight)});
    }
    return out;
}

// The words of a phrase, found in a row; their joint box, or a null rect when the phrase is missing.
inline QRectF find(const QList<Word>& found, const QString& phrase) {
    const QStringList parts = phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i + parts.size() <= found.size(); ++i) {
        QRectF box;
        int k = 0;
        for (; k < parts.size() && found[i + k].text == parts[k]; ++k)
            box = box.isNull() ? found[i + k].mm : box.united(found[i + k].mm);
        if (k == parts.size()) return box;
    }
    return QRectF();
}

// Every font of the file with whether it is embedded: "LiberationSans-Bold yes".
inline QStringList fonts(const QString& file) {
    QStringList out;
    const QStringList lines = run(QStringLiteral("pdffonts"), {file}).split(QLatin1Char('\n'));
    static const QRegularExpression re(
        QStringLiteral("^(\\S+)\\s.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"));
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = re.match(line.trimmed());
        if (m.hasMatch()) {
            QString name = m.captured(1);
            name.remove(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+"))); // subset tag
            out.append(name + QLatin1Char(' ') + m.captured(2));
        }
    }
    return out;
}

// The first page as an image at that resolution (dots per inch).
inline QImage render(const QString& file, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-singlefile"), file, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

} // namespace PdfProbe

namespace Ink {

// The box, in millimetres, of the dark pixels of an image inside a region given in millimetres (a null
// rect when the region is blank). dpm: the image's dots per millimetre.
inline QRectF box(const QImage& image, const QRectF& regionMm, double dpm) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const QRect region = QRect(QPoint(int(regionMm.left() * dpm), int(regionMm.top() * dpm)),
                               QPoint(int(regionMm.right() * dpm) - 1, int(regionMm.bottom() * dpm) - 1))
                             .intersected(gray.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = region.left(); x <= region.right(); ++x)
            if (row[x] < 128) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
    }
    if (right < 0) return QRectF();
    return QRectF(left / dpm, top / dpm, (right + 1 - left) / dpm, (bottom + 1 - top) / dpm);
}

} // namespace Ink
