#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// The last till backup.
class Tf_base : public Form {
    Q_OBJECT
public:
    explicit Tf_base(Forms& forms);

    void btgravadorClick() {} // rewrites the backup from the partial view's figures

};
