#include "u_caderneta.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_caderneta::Tf_caderneta(Forms& forms) : Form(forms, QStringLiteral("f_caderneta"), QStringLiteral("Caderneta"))
{
}
