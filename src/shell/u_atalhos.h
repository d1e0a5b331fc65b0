#pragma once

#include "foundation/form.h"

// Help on the sales screen's shortcut keys.
class Tf_atalhos : public Form {
    Q_OBJECT
public:
    explicit Tf_atalhos(Forms& forms);
};
