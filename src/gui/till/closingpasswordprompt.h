#pragma once

#include "gui/common/passwordprompt.h"

// The till password before the closing. A correct password shows the closing window; when that
// window has closed, the prompt closes too.
class ClosingPasswordPrompt : public PasswordPrompt {
    Q_OBJECT
public:
    explicit ClosingPasswordPrompt(Forms& forms);

protected:
    void passwordAccepted() override;
};
