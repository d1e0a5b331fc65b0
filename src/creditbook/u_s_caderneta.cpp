#include "u_s_caderneta.h"

#include "creditbook/u_conf_fechamento.h"
#include "creditbook/u_ficha_cad.h"
#include "foundation/dbwidgets.h"
#include "foundation/u_dm.h"
#include "shell/forms.h"

#include <QLabel>

Tf_s_caderneta::Tf_s_caderneta(Forms& forms)
    : PasswordPrompt(forms, *forms.dm,
                     Design{QStringLiteral("f_s_caderneta"), QStringLiteral("Fechar Caderneta"),
                            QStringLiteral("s_admin"), QStringLiteral("* Digite a senha do Administrador")}) {
}

void Tf_s_caderneta::passwordAccepted() {
    Tf_ficha_cad* sheet = forms.f_ficha_cad;
    Tf_conf_fechamento* confirm = forms.f_conf_fechamento;
    confirm->lnome->setText(sheet->DBEdit1->text());
    confirm->lvalor->setText(sheet->v_total1->text());
    confirm->lid->setText(sheet->dbe_id->text());
    confirm->showModal();
}
