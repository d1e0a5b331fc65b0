#include "printerstatuslabel.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

PrinterStatusLabel::PrinterStatusLabel(QWidget* parent)
    : QLabel(parent), m_query(new QFutureWatcher<PrintServer::PrinterStatus>(this)) {
    setObjectName(QStringLiteral("l_impressora"));
    setText(QStringLiteral("Impressora: verificando..."));
    // In a narrow window the reason goes on a second line rather than being cut.
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMinimumHeight(2 * fontMetrics().lineSpacing() + 2);
    m_timer.setInterval(2000);
    connect(&m_timer, &QTimer::timeout, this, &PrinterStatusLabel::refresh);
    connect(m_query, &QFutureWatcher<PrintServer::PrinterStatus>::finished, this,
            &PrinterStatusLabel::answered);
}

PrinterStatusLabel::~PrinterStatusLabel() = default;

void PrinterStatusLabel::refresh() {
    if (m_query->isRunning()) return;
    const QString printer = m_printer.isEmpty() ? SystemPrintSink::printerName() : m_printer;
    m_query->setFuture(QtConcurrent::run([printer] { return PrintServer::printerStatus(printer); }));
}

void PrinterStatusLabel::answered() {
    const PrintServer::PrinterStatus status = m_query->result();
    const bool trouble = !status.problem().isEmpty();
    setText(status.line());
    setStyleSheet(trouble ? QStringLiteral("color: #d00000; font-weight: bold;") : QString());
    emit statusChanged(status);
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
