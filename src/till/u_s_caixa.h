#pragma once

#include "foundation/passwordprompt.h"

// The till password before the closing. A correct password shows the closing window; when that
// window has closed, the prompt closes too.
class Tf_s_fechamento : public PasswordPrompt {
    Q_OBJECT
public:
    explicit Tf_s_fechamento(Forms& forms);

protected:
    void passwordAccepted() override;
};
