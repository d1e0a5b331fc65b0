#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Administrator password before closing an account.
class Tf_s_caderneta : public Form {
    Q_OBJECT
public:
    explicit Tf_s_caderneta(Forms& forms);

};
