#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// Administrator password before the administration panel.
class Tf_s_admin : public Form {
    Q_OBJECT
public:
    explicit Tf_s_admin(Forms& forms);

};
