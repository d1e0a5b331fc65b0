#include "adminpasswordprompt.h"

#include "gui/settings/passwordswindow.h"
#include "gui/shell/forms.h"

AdminPasswordPrompt::AdminPasswordPrompt(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_admin"), QStringLiteral("Painel do Admin"),
                      QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {}

void AdminPasswordPrompt::passwordAccepted() {
    forms.f_administracao->showModal();
}
