#include "withdrawalreceipt.h"

#include "core/db/datamodule.h"
#include "core/reports/tillreportheader.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>

namespace {
constexpr double bandWidth = 87.84;
constexpr double normalSize = 10;
constexpr double smallestSize = 6;
constexpr double recipientLeft = 25.40, recipientTop = 63.50;
constexpr double reasonTop = 69.85, reasonWidth = 62.71;
constexpr double amountTop = 78.58;
} // namespace

WithdrawalReceipt::WithdrawalReceipt(Dataset* festa) : Report(QStringLiteral("qr_sangria"), 89.96, 98.69) {
    const int band = addBand(QStringLiteral("detail"), 88.90, bandWidth);

    addTillReportHeader(*this, band, QStringLiteral("SANGRIA DE CAIXA"), QStringLiteral("qr_lretirada"),
                        QStringLiteral("Retirada:"), 15.61, festa);
    label(band, QStringLiteral("qr_lnret"), QStringLiteral("Retirada:"), 43.66, 38.10, 15.61, 10, true);
    label(band, QStringLiteral("q_nret"), QString(), 59.80, 38.10, 2.12);
    label(band, QStringLiteral("qr_asteriscos"), QString(53, QLatin1Char('*')), 2.12, 46.30, 70.38);
    label(band, QStringLiteral("qr_laberto"), QStringLiteral("Aberto por:"), 4.23, 51.06, 19.05, 10, true);
    label(band, QStringLiteral("qr_responsavel"), QString(), 24.61, 51.06, 23.02);
    label(band, QStringLiteral("qr_loperador"), QStringLiteral("Operador:"), 4.23, 56.89, 17.20, 10, true);
    label(band, QStringLiteral("qr_operador"), QString(), 23.02, 56.89, 18.26);
    label(band, QStringLiteral("qr_lrepassado"), QStringLiteral("Repassado:"), 4.23, 63.50, 19.58, 10, true);
    label(band, QStringLiteral("qr_repassado"), QString(), recipientLeft, recipientTop, 1.32).minPointSize =
        smallestSize;
    label(band, QStringLiteral("qr_lmotivo"), QStringLiteral("Motivo:"), 4.23, 69.85, 12.44, 10, true);
    ReportElement& reason =
        label(band, QStringLiteral("qr_motivo"), QString(), 17.46, reasonTop, reasonWidth);
    reason.autoSize = false;
    reason.minPointSize = smallestSize;
    label(band, QStringLiteral("qr_lvalor"), QStringLiteral("R$ da Retirada:"), 14.82, 78.58, 26.19, 10,
          true);
    label(band, QStringLiteral("qr_valor"), QString(), 42.07, amountTop, 6.88);
    label(band, QStringLiteral("qr_hifens"), QString(74, QLatin1Char('-')), 1.32, 83.08, 78.58, 10, true);
}

double WithdrawalReceipt::textWidthMm(const QString& text, double pointSize, bool bold) {
    // Measured at a large pixel size, where hinting no longer bends the advances, then scaled.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(1000);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    const double em = QFontMetricsF(font).horizontalAdvance(text) / 1000.0;
    return em * pointSize * 25.4 / 72.0;
}

void WithdrawalReceipt::setFitted(const QString& name, const QString& text, double roomMm, double designTop,
                                  double nextTop) {
    ReportElement& e = element(name);
    e.caption = text;
    e.pointSize = normalSize;
    e.top = designTop;
    e.height = 4.5;
    const double width = textWidthMm(text, normalSize, e.bold);
    if (width <= roomMm) return;
    e.pointSize = std::max(smallestSize, normalSize * roomMm / width);
    // Lowered so the smaller text stands on the same line as its caption.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(1000);
    const double ascentEm = QFontMetricsF(font).ascent() / 1000.0;
    e.top = designTop + ascentEm * (normalSize - e.pointSize) * 25.4 / 72.0;
    if (normalSize * roomMm / width < smallestSize) {
        // Even the smallest size is too wide: a fixed box of the room, down to the next line, in which
        // the report engine wraps the text.
        e.autoSize = false;
        e.width = roomMm;
        e.height = nextTop - e.top;
    }
}

void WithdrawalReceipt::setRecipient(const QString& text) {
    ReportElement& e = element(QStringLiteral("qr_repassado"));
    e.autoSize = true; // takes the width of its text, as long as it fits on its line
    setFitted(QStringLiteral("qr_repassado"), text, bandWidth - recipientLeft, recipientTop, reasonTop);
}

void WithdrawalReceipt::setReason(const QString& text) {
    setFitted(QStringLiteral("qr_motivo"), text, reasonWidth, reasonTop, amountTop);
}
