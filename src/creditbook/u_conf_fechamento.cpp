#include "u_conf_fechamento.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_conf_fechamento::Tf_conf_fechamento(Forms& forms) : Form(forms, QStringLiteral("f_conf_fechamento"), QStringLiteral("Confirmar Fechamento de Conta"))
{
}
