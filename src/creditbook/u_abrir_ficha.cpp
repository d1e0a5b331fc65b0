#include "u_abrir_ficha.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_abrir_ficha::Tf_abrir_ficha(Forms& forms) : Form(forms, QStringLiteral("f_abrir_ficha"), QStringLiteral("Abertura de Caderneta"))
{
}
