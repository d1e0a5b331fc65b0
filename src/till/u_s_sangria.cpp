#include "u_s_sangria.h"

#include "shell/forms.h"
#include "till/u_sangria.h"

namespace {
PasswordPrompt::Design design() {
    PasswordPrompt::Design d;
    d.objectName = QStringLiteral("f_s_sangria");
    d.caption = QStringLiteral("Sangria de Caixa");
    d.column = QStringLiteral("s_caixa");
    d.labelText = QStringLiteral("* Digite a senha do Caixa");
    d.okCaption = QStringLiteral("Entrar");
    return d;
}
} // namespace

Tf_s_sangria::Tf_s_sangria(Forms& forms) : PasswordPrompt(forms, *forms.dm, design()) {}

void Tf_s_sangria::passwordAccepted() {
    forms.f_sangria->showModal();
}
