#pragma once

#include "core/print/report.h"
#include "core/till/tillmodel.h"

#include <QString>
#include <functional>

class QWidget;
class TicketJobs;
class TicketReport;

// How the sales screen prints a ticket: the ticket layout with the sale line's text, as the named
// document of the print journal.
namespace TicketPrinting {

// A ticket of a sale, its job followed until it ends (see TicketJobs).
TillModel::TicketPrint sale(TicketReport& ticket, TicketJobs& jobs);
// A ticket printed again (TicketJobs::reprintFailed).
std::function<PrintJob(const QString& ticketText, const QString& document)> again(TicketReport& ticket);

// Runs a print of tickets; a print ending in doubt (the ticket in flight may be on paper) is told, and
// the cashier says whether it came out, so that the next print makes exactly the tickets missing.
// Returns whether the print went through; other print errors go on to the caller.
bool settlingDoubt(QWidget* parent, TillModel& till, TicketReport& ticket,
                   const std::function<void()>& print);

} // namespace TicketPrinting
