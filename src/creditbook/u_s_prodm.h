#pragma once

#include "foundation/passwordprompt.h"

// Administrator password before removing the item selected on the open account sheet.
class Tf_s_prodm : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Tf_s_prodm(Forms& forms);

protected:
    void passwordAccepted() override;
};
