#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// The sales screen: one till, rung up from the keyboard.
class Tf_caixa : public Form {
    Q_OBJECT
public:
    explicit Tf_caixa(Forms& forms);
    QLabel* l_responsavel = nullptr;
    QLabel* l_operador = nullptr;
    QLabel* l_entrada = nullptr;
    QLabel* l_caixa = nullptr;
    QLineEdit* edt_entrada = nullptr;
    QLineEdit* edt_troco = nullptr;
    QLineEdit* v_total1 = nullptr;

    void btdelClick() {}          // clear the current sale
    void Fechamento1Click() {}    // Ctrl+F: the closing command
    void Parcial1Click() {}       // Ctrl+P
    void Sangria1Click() {}       // Ctrl+S
    void SpeedButton1Click() {}   // "Caderneta"
    void closeTill() { accept(); } // the till closing's own close request

};
