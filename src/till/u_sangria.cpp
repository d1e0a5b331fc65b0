#include "u_sangria.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_sangria::Tf_sangria(Forms& forms) : Form(forms, QStringLiteral("f_sangria"), QStringLiteral("Sangria de Caixa"))
{
    edt_retirada = lineEdit(QStringLiteral("edt_retirada"));
    edt_repassa = lineEdit(QStringLiteral("edt_repassa"));
    edt_motivo = lineEdit(QStringLiteral("edt_motivo"));
    edt_cont = lineEdit(QStringLiteral("edt_cont"));
    edt_data = lineEdit(QStringLiteral("edt_data"));
    edt_hora = lineEdit(QStringLiteral("edt_hora"));
    edt_responsavel = lineEdit(QStringLiteral("edt_responsavel"));
    edt_operador = lineEdit(QStringLiteral("edt_operador"));
    edt_caixa = lineEdit(QStringLiteral("edt_caixa"));
}
