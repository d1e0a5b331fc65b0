#include "u_s_caixa.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_s_fechamento::Tf_s_fechamento(Forms& forms) : Form(forms, QStringLiteral("f_s_fechamento"), QStringLiteral("Fechamento de Caixa"))
{
}
