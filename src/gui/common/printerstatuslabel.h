#pragma once

#include "core/print/printserver.h"

#include <QLabel>
#include <QTimer>

// One line with the state of the printer tickets go to (ready, printing, stopped and why, no printer),
// asked of the print server every couple of seconds while the label is shown. The question runs on a
// worker thread: a print server that hangs never holds up a key press.
class PrinterStatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit PrinterStatusLabel(QWidget* parent = nullptr);
    ~PrinterStatusLabel() override;

    // The printer shown; empty (the default): the one printing goes to.
    void setPrinterName(const QString& name) { m_printer = name; }
    void setInterval(int ms) { m_timer.setInterval(ms); }
    // Asks now, unless a question is still on its way.
    void refresh();

signals:
    void statusChanged(const PrintServer::PrinterStatus& status);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void answered();

    QString m_printer;
    QTimer m_timer;
    QFutureWatcher<PrintServer::PrinterStatus>* m_query;
};
