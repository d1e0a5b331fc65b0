#include "accountclosingpasswordprompt.h"

#include "core/db/datamodule.h"
#include "gui/common/dbwidgets.h"
#include "gui/creditbook/accountclosingdialog.h"
#include "gui/creditbook/accountsheet.h"
#include "gui/shell/forms.h"

#include <QLabel>

AccountClosingPasswordPrompt::AccountClosingPasswordPrompt(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     Design{QStringLiteral("f_s_caderneta"), QStringLiteral("Fechar Caderneta"),
                            QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {
}

void AccountClosingPasswordPrompt::passwordAccepted() {
    AccountSheet* sheet = forms.f_ficha_cad;
    AccountClosingDialog* confirm = forms.f_conf_fechamento;
    confirm->lnome->setText(sheet->DBEdit1->text());
    confirm->lvalor->setText(sheet->v_total1->text());
    confirm->lid->setText(sheet->dbe_id->text());
    confirm->showModal();
}
