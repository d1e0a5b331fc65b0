#pragma once

#include "foundation/form.h"

// About the program.
class Tf_about : public Form {
    Q_OBJECT
public:
    explicit Tf_about(Forms& forms);
};
