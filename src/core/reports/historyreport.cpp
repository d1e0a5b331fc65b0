#include "historyreport.h"

#include "core/print/report.h"

#include <QFont>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>

namespace HistoryReport {

namespace {

const double row = 5.0;
const double width = 87.84;
const QString rule = QString(53, QLatin1Char('*'));
// Figures and captions in fixed boxes print smaller, down to this size, rather than be cut.
const double smallest = 6.0;

// How many lines a text takes when broken to a width in millimetres, as the report engine breaks it
// (between words, inside a word wider than the line). Measured at a large pixel size, where hinting no
// longer bends the advances, on a slightly narrower line: the engine never needs more lines than this.
int linesFor(const QString& text, double widthMm, double pointSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(1000);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setHintingPreference(QFont::PreferNoHinting);
    const double mmPerPixel = pointSize * 25.4 / 72.0 / 1000.0;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthMm * 0.97 / mmPerPixel);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

// Writes the report top to bottom; the same pass, run without a report, measures its length.
class Writer {
public:
    Writer(Report* r, double bandHeight) : m_r(r) {
        if (m_r) m_band = m_r->addBand(QStringLiteral("detail"), bandHeight);
    }
    double top = 1.0;

    // A text at its own size (w 0), or in a box of that width that it never leaves: shrunk when too
    // wide for it.
    void text(const QString& caption, double left, double w = 0, bool bold = false,
              Qt::Alignment align = Qt::AlignLeft, double size = 10) {
        if (!m_r) return;
        ReportElement& e =
            m_r->label(m_band, QStringLiteral("e%1").arg(++m_n), caption, left, top, w, size, bold);
        if (w > 0) {
            e.autoSize = false;
            e.alignment = align;
            e.minPointSize = std::min(smallest, size);
        }
        if (size > 10) e.height = 5.3;
    }
    // A text broken over as many lines as it needs inside the width; the lines below it move down.
    void wrapped(const QString& caption, double left, double w, bool bold = false,
                 Qt::Alignment align = Qt::AlignLeft) {
        const int lines = linesFor(caption, w, 10, bold);
        if (m_r) {
            ReportElement& e =
                m_r->label(m_band, QStringLiteral("e%1").arg(++m_n), caption, left, top, w, 10, bold);
            e.autoSize = false;
            e.wordWrap = true;
            e.alignment = align;
            e.height = lines * row - 0.5;
        }
        line(lines * row);
    }
    void line(double step = row) { top += step; }
    void ruleLine() {
        text(rule, 1.0);
        line();
    }
    // caption at the left, amount at the right
    void pair(const QString& caption, const QString& value) {
        text(caption, 2.0, 56, true);
        text(value, 58.0, 28, false, Qt::AlignRight);
        line();
    }
    // The figures of a product, under the headings of the same columns: price, units sold, tickets, amount.
    void figures(const QStringList& cells, bool bold = false) {
        static const double lefts[] = {6.0, 30.0, 50.0, 64.0};
        static const double widths[] = {22.0, 18.0, 13.0, 22.0};
        for (int i = 0; i < 4; ++i)
            text(cells[i], lefts[i], widths[i], bold, Qt::AlignRight);
        line();
    }

private:
    Report* m_r;
    int m_band = 0;
    int m_n = 0;
};

void write(Writer& w, const HistorySummary::Summary& s, const QString& festa, const QDateTime& printedAt) {
    using HistoryStore::moneyText;
    w.text(QStringLiteral("RESUMO DE CAIXAS"), 0, width, true, Qt::AlignHCenter, 12);
    w.line(7);
    if (!festa.isEmpty()) w.wrapped(festa, 2.0, width - 4, false, Qt::AlignHCenter);
    QStringList numbers;
    for (const HistoryStore::ClosedTill& t : s.tills)
        numbers.prepend(QString::number(t.number)); // oldest first
    w.wrapped(QStringLiteral("Caixas: ") + numbers.join(QStringLiteral(", ")), 2.0, width - 4);
    if (!s.tills.isEmpty()) {
        const QDate first = HistorySummary::dayOf(s.tills.last());
        const QDate last = HistorySummary::dayOf(s.tills.first());
        w.text(QStringLiteral("Período: %1 a %2")
                   .arg(first.toString(QStringLiteral("dd/MM/yyyy")),
                        last.toString(QStringLiteral("dd/MM/yyyy"))),
               2.0, width - 4);
        w.line();
    }
    w.text(QStringLiteral("Emitido em: ") + printedAt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), 2.0,
           width - 4);
    w.line();
    w.ruleLine();

    // Two lines a product: its name in full, then its figures. Units sold and tickets printed differ for
    // a product printing more than one ticket a unit, so both have their column.
    w.text(QStringLiteral("Cod"), 2.0, 0, true);
    w.text(QStringLiteral("Produto"), 10.0, 0, true);
    w.line();
    w.figures({QStringLiteral("Preço"), QStringLiteral("Vendidos"), QStringLiteral("Fichas"),
               QStringLiteral("Valor")},
              true);
    for (const HistoryStore::ProductSold& p : s.products) {
        w.text(p.key, 3.0);
        w.wrapped(p.name, 10.0, width - 12);
        w.figures({HistorySummary::priceText(p.price), QString::number(p.units), QString::number(p.tickets),
                   moneyText(p.cents)});
    }
    w.ruleLine();
    w.pair(QStringLiteral("Unidades vendidas:"), QString::number(s.units));
    w.pair(QStringLiteral("Fichas:"), QString::number(s.tickets));
    w.pair(QStringLiteral("R$ Vendas:"), moneyText(s.salesCents));
    w.pair(QStringLiteral("R$ Entrada:"), moneyText(s.floatCents));
    w.pair(QStringLiteral("R$ Sangria:"), moneyText(s.withdrawnCents));
    w.pair(QStringLiteral("R$ Esperado em caixa:"), moneyText(s.expectedCents));
    if (s.counted > 0) {
        w.pair(QStringLiteral("R$ Contado (%1 de %2 caixas):").arg(s.counted).arg(s.tills.size()),
               moneyText(s.countedCents));
        w.pair(QStringLiteral("R$ Diferença:"), moneyText(s.differenceCents));
    }
    w.ruleLine();
    w.text(QStringLiteral("Vendas por hora"), 2.0, 0, true);
    w.line();
    for (const HistorySummary::HourAmount& h : s.hours) {
        w.text(HistorySummary::hourLabel(h.hour, true), 3.0);
        w.text(QString::number(h.sales) + QStringLiteral(" vendas"), 28.0, 25, false, Qt::AlignRight);
        w.text(moneyText(h.cents), 62.0, 24, false, Qt::AlignRight);
        w.line();
    }
    w.ruleLine();
}

} // namespace

std::unique_ptr<Report> build(const HistorySummary::Summary& s, const QString& festa,
                              const QDateTime& printedAt) {
    Writer measure(nullptr, 0);
    write(measure, s, festa, printedAt);
    const double band = measure.top + 2.0;
    auto report = std::make_unique<Report>(QStringLiteral("qr_historico"), 89.96, band + 7.0);
    Writer w(report.get(), band);
    write(w, s, festa, printedAt);
    return report;
}

} // namespace HistoryReport
