#pragma once

#include "gui/common/passwordprompt.h"

// Administrator password before the administration panel.
class AdminPasswordPrompt : public PasswordPrompt {
    Q_OBJECT
public:
    explicit AdminPasswordPrompt(Forms& forms);

protected:
    void passwordAccepted() override; // shows the panel; the prompt closes after it
};
