#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Till closing.
class Tf_fechamento : public Form {
    Q_OBJECT
public:
    explicit Tf_fechamento(Forms& forms);
    QLabel* lncaixa = nullptr;
    QLabel* ldata = nullptr;
    QLabel* lhora = nullptr;
    QLineEdit* Edit1 = nullptr;

};
