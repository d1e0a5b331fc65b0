#include "historyreport.h"

#include "foundation/report.h"

#include <QStringList>

namespace HistoryReport {

namespace {

const double row = 5.0;
const double width = 87.84;
const QString rule = QString(53, QLatin1Char('*'));

// Writes the report top to bottom; the same pass, run without a report, measures its length.
class Writer {
public:
    Writer(Report* r, double bandHeight) : m_r(r) {
        if (m_r) m_band = m_r->addBand(QStringLiteral("detail"), bandHeight);
    }
    double top = 1.0;

    void text(const QString& caption, double left, double w = 0, bool bold = false,
              Qt::Alignment align = Qt::AlignLeft, double size = 10) {
        if (!m_r) return;
        ReportElement& e =
            m_r->label(m_band, QStringLiteral("e%1").arg(++m_n), caption, left, top, w, size, bold);
        if (w > 0) {
            e.autoSize = false;
            e.alignment = align;
        }
        if (size > 10) e.height = 5.3;
    }
    void line(double step = row) { top += step; }
    void ruleLine() {
        text(rule, 1.0);
        line();
    }
    // caption at the left, amount at the right
    void pair(const QString& caption, const QString& value) {
        text(caption, 2.0, 55, true);
        text(value, 55.0, 30, false, Qt::AlignRight);
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
    if (!festa.isEmpty()) {
        w.text(festa, 2.0, width - 4, false, Qt::AlignHCenter);
        w.line();
    }
    QStringList numbers;
    for (const HistoryStore::ClosedTill& t : s.tills)
        numbers.prepend(QString::number(t.number)); // oldest first
    // the till numbers, a dozen per line
    for (qsizetype i = 0; i < numbers.size() || i == 0; i += 12) {
        w.text((i == 0 ? QStringLiteral("Caixas: ") : QString()) +
                   numbers.mid(i, 12).join(QStringLiteral(", ")),
               2.0, width - 4);
        w.line();
    }
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

    w.text(QStringLiteral("Cod"), 2.0, 0, true);
    w.text(QStringLiteral("Produto"), 10.0, 0, true);
    w.text(QStringLiteral("Qtd"), 48.0, 12, true, Qt::AlignRight);
    w.text(QStringLiteral("Valor"), 62.0, 23, true, Qt::AlignRight);
    w.line();
    for (const HistoryStore::ProductSold& p : s.products) {
        w.text(p.key, 3.0);
        w.text(p.name + QStringLiteral(" (") + p.price + QLatin1Char(')'), 10.0, 38); // clipped
        w.text(QString::number(p.units), 48.0, 12, false, Qt::AlignRight);
        w.text(moneyText(p.cents), 62.0, 23, false, Qt::AlignRight);
        w.line();
    }
    w.ruleLine();
    w.pair(QStringLiteral("Unidades vendidas:"), QString::number(s.units));
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
        w.text(moneyText(h.cents), 62.0, 23, false, Qt::AlignRight);
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
