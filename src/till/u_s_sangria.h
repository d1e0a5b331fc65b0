#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Till password before a withdrawal.
class Tf_s_sangria : public Form {
    Q_OBJECT
public:
    explicit Tf_s_sangria(Forms& forms);

};
