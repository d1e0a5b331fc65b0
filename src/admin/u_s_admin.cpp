#include "u_s_admin.h"

#include "admin/u_administracao.h"
#include "shell/forms.h"

Tf_s_admin::Tf_s_admin(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_admin"), QStringLiteral("Painel do Admin"),
                      QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {}

void Tf_s_admin::passwordAccepted() {
    forms.f_administracao->showModal();
}
