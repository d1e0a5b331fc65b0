#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Till password before the closing.
class Tf_s_fechamento : public Form {
    Q_OBJECT
public:
    explicit Tf_s_fechamento(Forms& forms);

};
