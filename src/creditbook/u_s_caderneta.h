#pragma once

#include "foundation/passwordprompt.h"

// Administrator password before closing the account of the open sheet.
class Tf_s_caderneta : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Tf_s_caderneta(Forms& forms);

protected:
    void passwordAccepted() override;
};
