#include "rolllayout.h"

#include <QFont>
#include <QImage>
#include <QTextLayout>
#include <algorithm>

namespace {

constexpr double gapMm = 1.5;    // between two texts
constexpr double topMm = 1.0;    // above the first
constexpr double bottomMm = 2.0; // below the last

struct Measure {
    double widest = 0; // the widest line, in dots
    double height = 0; // of every line together, in dots
};

Measure measure(const QString& text, const QFont& font, QTextOption::WrapMode wrap, double widthDots,
                QPaintDevice* device) {
    QString body = text;
    body.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    body.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(body, font, device);
    QTextOption option;
    option.setWrapMode(wrap);
    layout.setTextOption(option);
    layout.beginLayout();
    Measure m;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthDots);
        m.height += line.height();
        m.widest = std::max(m.widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return m;
}

} // namespace

namespace RollLayout {

Report lay(const Report& page, double widthMm, double dotsPerMm) {
    // The resolution the text is measured at is the one it is painted at.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    device.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    const double widthDots = widthMm * dotsPerMm, slack = 0.05 * dotsPerMm;

    struct Placed {
        double top;
        ReportElement element;
    };
    QList<Placed> texts;
    double bandTop = 0;
    for (int b = 0; b < page.bands().size(); ++b) {
        for (const ReportElement& e : page.elements())
            if (e.band == b && !e.text().isEmpty()) texts.append({bandTop + e.top, e});
        bandTop += page.bands()[b].height;
    }
    std::stable_sort(texts.begin(), texts.end(), [](const Placed& a, const Placed& b) {
        return a.top < b.top || (a.top == b.top && a.element.left < b.element.left);
    });

    QList<ReportElement> laid;
    double y = topMm;
    for (const Placed& p : std::as_const(texts)) {
        ReportElement e = p.element;
        const QString text = e.text();
        const double size = std::clamp(e.pointSize, smallestPoints, largestPoints);
        const double least =
            std::min(size, std::max({smallestPoints, e.pointSize * shrinkLimit, e.minPointSize}));
        e.pointSize = size;
        while (e.pointSize - 0.5 >= least &&
               measure(text, e.font(), QTextOption::WordWrap, widthDots, &device).widest > widthDots + slack)
            e.pointSize -= 0.5;
        const Measure m =
            measure(text, e.font(), QTextOption::WrapAtWordBoundaryOrAnywhere, widthDots, &device);
        e.kind = ReportElement::Kind::Label;
        e.caption = text;
        e.band = 0;
        e.left = 0;
        e.top = y;
        e.width = widthMm;
        e.height = (m.height + slack) / dotsPerMm;
        e.wordWrap = true;
        e.autoSize = false;
        e.minPointSize = 0;
        laid << e;
        y += e.height + gapMm;
    }
    const double height = std::max(y - gapMm, topMm) + bottomMm;

    Report roll(page.name(), widthMm, height);
    roll.marginTop = roll.marginBottom = roll.marginLeft = roll.marginRight = 0;
    roll.setDocument(page.document());
    const int band = roll.addBand(QStringLiteral("rolo"), height, widthMm);
    for (const ReportElement& e : std::as_const(laid)) {
        ReportElement& copy =
            roll.label(band, e.name, e.caption, e.left, e.top, e.width, e.pointSize, e.bold);
        copy = e;
        copy.band = band;
    }
    return roll;
}

} // namespace RollLayout
