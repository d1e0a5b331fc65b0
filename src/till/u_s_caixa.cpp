#include "u_s_caixa.h"

#include "shell/forms.h"
#include "u_fechamento.h"

Tf_s_fechamento::Tf_s_fechamento(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     {QStringLiteral("f_s_fechamento"), QStringLiteral("Fechamento de Caixa"),
                      QStringLiteral("s_caixa"), QStringLiteral("* Digite a senha do Caixa"),
                      QStringLiteral("edt_Senha"), QStringLiteral("Fechar")}) {}

void Tf_s_fechamento::passwordAccepted() {
    forms.f_fechamento->showModal();
}
