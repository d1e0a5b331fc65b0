#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Opening an account.
class Tf_abrir_ficha : public Form {
    Q_OBJECT
public:
    explicit Tf_abrir_ficha(Forms& forms);

};
