#pragma once

#include "foundation/report.h"

class Forms;

// One ticket per unit sold.
class Tqr_fichas : public Report {
public:
    explicit Tqr_fichas(Forms& forms);
    // The large text of the next ticket: the sale line's ticket text.
    void setTicketText(const QString& text);
};
