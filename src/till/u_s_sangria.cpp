#include "u_s_sangria.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_s_sangria::Tf_s_sangria(Forms& forms) : Form(forms, QStringLiteral("f_s_sangria"), QStringLiteral("Sangria de Caixa"))
{
}
