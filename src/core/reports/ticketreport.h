#pragma once

// core/reports: each printed layout (ticket, opening, withdrawal receipt, closing, last till, history
// summary), filled with values.

#include "core/print/report.h"

class Dataset;

// One ticket per unit sold.
class TicketReport : public Report {
public:
    explicit TicketReport(Dataset* festa);
    // The large text of the next ticket: the sale line's ticket text.
    void setTicketText(const QString& text);
};
