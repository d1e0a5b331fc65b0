#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Event data printed on tickets.
class Tf_confi_impr : public Form {
    Q_OBJECT
public:
    explicit Tf_confi_impr(Forms& forms);

};
