#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Cash withdrawal.
class Tf_sangria : public Form {
    Q_OBJECT
public:
    explicit Tf_sangria(Forms& forms);
    QLineEdit* edt_retirada = nullptr;
    QLineEdit* edt_repassa = nullptr;
    QLineEdit* edt_motivo = nullptr;
    QLineEdit* edt_cont = nullptr;
    QLineEdit* edt_data = nullptr;
    QLineEdit* edt_hora = nullptr;
    QLineEdit* edt_responsavel = nullptr;
    QLineEdit* edt_operador = nullptr;
    QLineEdit* edt_caixa = nullptr;

};
