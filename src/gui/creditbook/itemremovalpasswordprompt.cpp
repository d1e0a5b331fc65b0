#include "itemremovalpasswordprompt.h"

#include "core/db/datamodule.h"
#include "gui/creditbook/accountsheet.h"
#include "gui/shell/forms.h"

ItemRemovalPasswordPrompt::ItemRemovalPasswordPrompt(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     Design{QStringLiteral("f_s_prodm"), QStringLiteral("Excluir Produto Marcado"),
                            QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {
}

void ItemRemovalPasswordPrompt::passwordAccepted() {
    // The item selected in the sheet's grid; the last one listed when none was picked.
    Dataset* q = forms.dm->q_prod_cad;
    if (q->isActive()) q->remove();
    forms.f_ficha_cad->bt_somarClick();
}
