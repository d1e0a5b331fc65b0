#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Password administration.
class Tf_administracao : public Form {
    Q_OBJECT
public:
    explicit Tf_administracao(Forms& forms);

};
