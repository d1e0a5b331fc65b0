#include "u_administracao.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_administracao::Tf_administracao(Forms& forms) : Form(forms, QStringLiteral("f_administracao"), QStringLiteral("Administração de Senhas"))
{
}
