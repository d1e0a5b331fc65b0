#pragma once

#include "gui/common/passwordprompt.h"

// Administrator password before closing the account of the open sheet.
class AccountClosingPasswordPrompt : public PasswordPrompt {
    Q_OBJECT
public:
    explicit AccountClosingPasswordPrompt(Forms& forms);

protected:
    void passwordAccepted() override;
};
