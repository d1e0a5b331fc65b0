#pragma once

#include "gui/common/form.h"

#include <functional>

class QLabel;
class QPushButton;

// The change window of a completed sale. "OK" starts a fresh sale and brings the till's figures up to
// date (`saleDone`); closing it in any way clears the sale (`closed`). An error raised by either
// keeps the window as it is and is shown.
class ChangeDialog : public Form {
    Q_OBJECT
public:
    ChangeDialog(std::function<void()> saleDone, std::function<void()> closed);

    // The change to show, set before the window is shown.
    void setChange(const QString& change) { m_change = change; }

    QLabel* ltroco = nullptr;       // the change, shown when the window shows
    QPushButton* BitBtn1 = nullptr; // "OK"

    void BitBtn1Click();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    QString m_change;
    std::function<void()> m_saleDone;
    std::function<void()> m_closed;
};
