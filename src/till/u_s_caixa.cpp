#include "u_s_caixa.h"

#include "shell/forms.h"
#include "u_fechamento.h"

namespace {
PasswordPrompt::Design design() {
    PasswordPrompt::Design d;
    d.objectName = QStringLiteral("f_s_fechamento");
    d.caption = QStringLiteral("Fechamento de Caixa");
    d.column = QStringLiteral("s_caixa");
    d.labelText = QStringLiteral("* Digite a senha do Caixa");
    d.editName = QStringLiteral("edt_Senha");
    d.okCaption = QStringLiteral("Fechar");
    return d;
}
} // namespace

Tf_s_fechamento::Tf_s_fechamento(Forms& forms) : PasswordPrompt(forms, *forms.dm, design()) {}

void Tf_s_fechamento::passwordAccepted() {
    forms.f_fechamento->showModal();
}
