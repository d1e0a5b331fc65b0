#include "u_s_sangria.h"

#include "shell/forms.h"
#include "till/u_sangria.h"

Tf_s_sangria::Tf_s_sangria(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_sangria"), QStringLiteral("Sangria de Caixa"),
                      QStringLiteral("s_caixa"), QStringLiteral("* Digite a senha do Caixa"),
                      QStringLiteral("edt_senha"), QStringLiteral("Entrar")}) {}

void Tf_s_sangria::passwordAccepted() {
    forms.f_sangria->showModal();
}
