#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Product configuration and till counter.
class Tf_config : public Form {
    Q_OBJECT
public:
    explicit Tf_config(Forms& forms);

    void bindData() {} // binds to the data module, created after this window

};
