#pragma once

#include "foundation/passwordprompt.h"

// Administrator password before the administration panel.
class Tf_s_admin : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Tf_s_admin(Forms& forms);

protected:
    void passwordAccepted() override; // shows the panel; the prompt closes after it
};
