#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Administrator password before removing an item.
class Tf_s_prodm : public Form {
    Q_OBJECT
public:
    explicit Tf_s_prodm(Forms& forms);

};
