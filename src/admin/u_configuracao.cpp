#include "u_configuracao.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_config::Tf_config(Forms& forms) : Form(forms, QStringLiteral("f_config"), QStringLiteral("Configuração de Produtos"))
{
}
