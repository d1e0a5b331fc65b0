#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Till opening.
class Tf_abertura : public Form {
    Q_OBJECT
public:
    explicit Tf_abertura(Forms& forms);
    QLineEdit* edt_responsavel = nullptr;
    QLineEdit* edt_operador = nullptr;
    QLineEdit* edt_data = nullptr;
    QLineEdit* edt_hora = nullptr;
    QLineEdit* edt_entrada = nullptr;

};
