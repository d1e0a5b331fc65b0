#pragma once

#include "gui/common/form.h"

class Database;
class QLineEdit;
class QPushButton;

// Opening an account: its name, stored when it is new. Each showing starts with an empty name.
class AccountOpeningDialog : public Form {
    Q_OBJECT
public:
    explicit AccountOpeningDialog(Database& db);

protected:
    void FormShow() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    Database& m_db;

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* DBEdit1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;
};
