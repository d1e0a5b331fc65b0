#pragma once

#include "gui/common/form.h"

class DataModule;
class QLineEdit;
class QPushButton;

// Opening an account: its name, stored when it is new; the account list shows it when this closes.
class AccountOpeningDialog : public Form {
    Q_OBJECT
public:
    explicit AccountOpeningDialog(DataModule& dm);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    DataModule& m_dm;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* DBEdit1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
