#include "printerstatuslabel.h"

#include "core/print/escposprinter.h"
#include "core/print/printserver.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

PrinterStatusLabel::PrinterStatusLabel(QWidget* parent)
    : QLabel(parent), m_query(new QFutureWatcher<Answer>(this)) {
    setObjectName(QStringLiteral("l_impressora"));
    setText(QStringLiteral("Impressora: verificando..."));
    // In a narrow window the reason goes on a second line rather than being cut.
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMinimumHeight(2 * fontMetrics().lineSpacing() + 2);
    m_timer.setInterval(2000);
    connect(&m_timer, &QTimer::timeout, this, &PrinterStatusLabel::refresh);
    connect(m_query, &QFutureWatcher<Answer>::finished, this, &PrinterStatusLabel::answered);
}

PrinterStatusLabel::~PrinterStatusLabel() {
    m_query->waitForFinished(); // a printer being asked outlives no label
}

void PrinterStatusLabel::refresh() {
    if (m_query->isRunning()) return;
    // A printer spoken to directly is asked itself; the sink lives as long as the program.
    if (auto* escpos = dynamic_cast<EscPosPrintSink*>(&Printing::sink()); escpos && m_printer.isEmpty()) {
        m_query->setFuture(QtConcurrent::run([escpos] {
            const EscPosPrinterStatus s = escpos->probe();
            return Answer{s.line(), !s.problem().isEmpty()};
        }));
        return;
    }
    const QString printer = m_printer.isEmpty() ? SystemPrintSink::printerName() : m_printer;
    m_query->setFuture(QtConcurrent::run([printer] {
        const PrintServer::PrinterStatus s = PrintServer::printerStatus(printer);
        return Answer{s.line(), !s.problem().isEmpty()};
    }));
}

void PrinterStatusLabel::answered() {
    const Answer answer = m_query->result();
    setText(answer.line);
    setStyleSheet(answer.trouble ? QStringLiteral("color: #d00000; font-weight: bold;") : QString());
}

void PrinterStatusLabel::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    refresh();
    m_timer.start();
}

void PrinterStatusLabel::hideEvent(QHideEvent* event) {
    QLabel::hideEvent(event);
    m_timer.stop();
}
