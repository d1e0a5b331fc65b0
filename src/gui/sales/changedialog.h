#pragma once

#include "gui/common/form.h"

class QLabel;
class TillModel;
class QPushButton;

// The change window of a completed (booked) sale. "OK" starts a fresh sale, reads the till's counts
// afresh and rewrites the last till backup; closing it in any way only clears the sale.
class ChangeDialog : public Form {
    Q_OBJECT
public:
    explicit ChangeDialog(TillModel& till);

    // The change to show, set before the window is shown.
    void setChange(const QString& change) { m_change = change; }

    void BitBtn1Click();

protected:
    void FormShow() override;
    void FormClose() override;

private:
    TillModel& m_till;
    QString m_change;

    // Its widgets: other code finds them by their objectName.
private:
    QLabel* ltroco = nullptr;       // the change, shown when the window shows
    QPushButton* BitBtn1 = nullptr; // "OK"
};
