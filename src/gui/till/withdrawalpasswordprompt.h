#pragma once

#include "gui/common/passwordprompt.h"

// Till password before a withdrawal; a correct one shows the withdrawal window.
class WithdrawalPasswordPrompt : public PasswordPrompt {
    Q_OBJECT
public:
    explicit WithdrawalPasswordPrompt(Forms& forms);

protected:
    void passwordAccepted() override;
};
