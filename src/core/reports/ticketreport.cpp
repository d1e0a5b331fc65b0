#include "ticketreport.h"

#include "core/db/datamodule.h"

// One page per ticket: the event's header, the product's ticket text large, the event's footer.
// The header and footer are read from the event data when the ticket prints; the ticket text is the
// sale line's, set before each ticket.
TicketReport::TicketReport(Dataset* festa) : Report(QStringLiteral("qr_fichas"), 90.0, 135.0) {
    const int band = addBand(QStringLiteral("detail"), 29.10, 87.84);
    struct Text {
        const char* name;
        Dataset* dataset;
        const char* field;
        double top, height, size;
    };
    const Text texts[] = {
        {"qr_cabecalho", festa, "cabecalho", 1.32, 5.03, 11},
        {"qr_impresso", nullptr, "impresso", 8.73, 11.91, 28},
        {"qr_rodape", festa, "rodape", 23.28, 5.03, 10},
    };
    for (const Text& t : texts) {
        ReportElement& e =
            t.dataset ? dbText(band, QLatin1String(t.name), t.dataset, QLatin1String(t.field), 0.26, t.top,
                               81.49, t.size, true)
                      : label(band, QLatin1String(t.name), QString(), 0.26, t.top, 81.49, t.size, true);
        e.height = t.height;
        e.alignment = Qt::AlignHCenter;
        e.wordWrap = true;
        e.autoSize = false;
    }
    // A ticket text too wide for the big letters prints smaller rather than losing a word.
    element(QStringLiteral("qr_impresso")).minPointSize = 12;
    flowsOnRoll = true; // on a receipt roll the texts keep their size
}

void TicketReport::setTicketText(const QString& text) {
    setCaption(QStringLiteral("qr_impresso"), text);
}
