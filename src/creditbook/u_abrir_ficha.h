#pragma once

#include "foundation/form.h"

class DBEdit;
class QPushButton;

// Opening an account: the name of the pending new row of the account list.
class Tf_abrir_ficha : public Form {
    Q_OBJECT
public:
    explicit Tf_abrir_ficha(Forms& forms);

    DBEdit* DBEdit1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton2 = nullptr;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
};
