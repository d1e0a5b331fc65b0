#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Confirmation of an account closing.
class Tf_conf_fechamento : public Form {
    Q_OBJECT
public:
    explicit Tf_conf_fechamento(Forms& forms);

};
