#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// One account sheet.
class Tf_ficha_cad : public Form {
    Q_OBJECT
public:
    explicit Tf_ficha_cad(Forms& forms);

};
