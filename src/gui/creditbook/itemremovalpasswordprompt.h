#pragma once

#include "gui/common/passwordprompt.h"

// Administrator password before removing the item selected on the open account sheet.
class ItemRemovalPasswordPrompt : public PasswordPrompt {
    Q_OBJECT
public:
    explicit ItemRemovalPasswordPrompt(Forms& forms);

protected:
    void passwordAccepted() override;
};
