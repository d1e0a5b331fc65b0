#include "closingpasswordprompt.h"

#include "gui/shell/forms.h"
#include "gui/till/closingdialog.h"

ClosingPasswordPrompt::ClosingPasswordPrompt(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_fechamento"), QStringLiteral("Fechamento de Caixa"),
                      QStringLiteral("s_caixa"), QStringLiteral("* Digite a senha do Caixa"),
                      QStringLiteral("edt_Senha"), QStringLiteral("Fechar")}) {}

void ClosingPasswordPrompt::passwordAccepted() {
    forms.f_fechamento->showModal();
}
