#include "u_s_prodm.h"

#include "creditbook/u_ficha_cad.h"
#include "foundation/u_dm.h"
#include "shell/forms.h"

Tf_s_prodm::Tf_s_prodm(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     Design{QStringLiteral("f_s_prodm"), QStringLiteral("Excluir Produto Marcado"),
                            QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {
}

void Tf_s_prodm::passwordAccepted() {
    // The item selected in the sheet's grid; the last one listed when none was picked.
    Dataset* q = forms.dm->q_prod_cad;
    if (q->isActive()) q->remove();
    forms.f_ficha_cad->bt_somarClick();
}
