#pragma once

#include "foundation/passwordprompt.h"

// Till password before a withdrawal; a correct one shows the withdrawal window.
class Tf_s_sangria : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Tf_s_sangria(Forms& forms);

protected:
    void passwordAccepted() override;
};
