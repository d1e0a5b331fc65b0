#include "u_s_caderneta.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_s_caderneta::Tf_s_caderneta(Forms& forms) : Form(forms, QStringLiteral("f_s_caderneta"), QStringLiteral("Fechar Caderneta"))
{
}
