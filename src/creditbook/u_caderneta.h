#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// The credit book: list of accounts.
class Tf_caderneta : public Form {
    Q_OBJECT
public:
    explicit Tf_caderneta(Forms& forms);

};
