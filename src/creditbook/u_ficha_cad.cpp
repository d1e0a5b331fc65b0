#include "u_ficha_cad.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_ficha_cad::Tf_ficha_cad(Forms& forms) : Form(forms, QStringLiteral("f_ficha_cad"), QStringLiteral("Caderneta"))
{
}
