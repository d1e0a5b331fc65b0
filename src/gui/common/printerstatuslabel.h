#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

template <typename T> class QFutureWatcher;

// One line with the state of the printer tickets go to (ready, printing, stopped and why, paper near its
// end, no printer), asked every couple of seconds while the label is shown: of the print server, or of
// the ESC/POS printer itself when tickets go straight to one. The question runs on a worker thread: a
// printer or print server that hangs never holds up a key press.
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

    // What a question found: the line and whether it keeps tickets from printing.
    struct Answer {
        QString line;
        bool trouble = false;
    };

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void answered();

    QString m_printer;
    QTimer m_timer;
    QFutureWatcher<Answer>* m_query;
};
