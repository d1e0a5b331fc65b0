#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// The change window of a completed sale.
class Tf_troco : public Form {
    Q_OBJECT
public:
    explicit Tf_troco(Forms& forms);

};
