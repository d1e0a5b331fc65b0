#pragma once

#include "gui/common/form.h"

class QLabel;
class QPushButton;

// The change window of a completed sale. "OK" starts a fresh sale and brings the till's figures up to
// date; closing it in any way clears the sale.
class ChangeDialog : public Form {
    Q_OBJECT
public:
    explicit ChangeDialog(Forms& forms);

    QLabel* ltroco = nullptr;       // the change, copied from the sales screen when shown
    QPushButton* BitBtn1 = nullptr; // "OK"

    void BitBtn1Click();

protected:
    void FormShow() override;
    void FormClose() override;
};
