#include "ticketprinting.h"

#include "core/base/errors.h"
#include "core/reports/ticketreport.h"
#include "core/till/ticketjobs.h"
#include "gui/common/messages.h"
#include "gui/common/printsettlement.h"

namespace TicketPrinting {

namespace {

PrintJob printTicket(TicketReport& ticket, const QString& text, const QString& document) {
    ticket.setTicketText(text);
    ticket.setDocument(document);
    PrintJob job = ticket.print();
    ticket.setDocument(QString());
    return job;
}

} // namespace

TillModel::TicketPrint sale(TicketReport& ticket, TicketJobs& jobs) {
    return [&ticket, &jobs](const TillModel::SaleLine& line, const QString& document) {
        PrintJob job = printTicket(ticket, line.ticketText, document);
        jobs.record(line.id, line.product, line.ticketText, job);
        return job;
    };
}

std::function<PrintJob(const QString&, const QString&)> again(TicketReport& ticket) {
    return [&ticket](const QString& text, const QString& document) {
        return printTicket(ticket, text, document);
    };
}

bool settlingDoubt(QWidget* parent, TillModel& till, TicketReport& ticket,
                   const std::function<void()>& print) {
    try {
        print();
        return true;
    } catch (const PrintDoubt& e) {
        ticket.setDocument(QString());
        Messages::error(parent, e.text());
        settleInDoubt(parent, till);
        return false;
    } catch (...) {
        ticket.setDocument(QString());
        throw;
    }
}

} // namespace TicketPrinting
