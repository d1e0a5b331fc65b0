#include "u_caixa.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_caixa::Tf_caixa(Forms& forms) : Form(forms, QStringLiteral("f_caixa"), QStringLiteral("CAIXA - TERMINAL DE VENDAS  |  Quorvanta 3.0"))
{
    l_responsavel = label(QStringLiteral("l_responsavel"), QString());
    l_operador = label(QStringLiteral("l_operador"), QString());
    l_entrada = label(QStringLiteral("l_entrada"), QString());
    l_caixa = label(QStringLiteral("l_caixa"), QString());
    edt_entrada = lineEdit(QStringLiteral("edt_entrada"));
    edt_troco = lineEdit(QStringLiteral("edt_troco"));
    v_total1 = lineEdit(QStringLiteral("v_total1"));
}
