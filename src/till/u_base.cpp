#include "u_base.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_base::Tf_base(Forms& forms) : Form(forms, QStringLiteral("f_base"), QStringLiteral("Base Dados - Caixa Anterior"))
{
}
