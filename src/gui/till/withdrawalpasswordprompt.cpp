#include "withdrawalpasswordprompt.h"

#include "gui/shell/forms.h"
#include "gui/till/withdrawaldialog.h"

WithdrawalPasswordPrompt::WithdrawalPasswordPrompt(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_sangria"), QStringLiteral("Sangria de Caixa"),
                      QStringLiteral("s_caixa"), QStringLiteral("* Digite a senha do Caixa"),
                      QStringLiteral("edt_senha"), QStringLiteral("Entrar")}) {}

void WithdrawalPasswordPrompt::passwordAccepted() {
    forms.f_sangria->showModal();
}
