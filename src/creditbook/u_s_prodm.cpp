#include "u_s_prodm.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_s_prodm::Tf_s_prodm(Forms& forms) : Form(forms, QStringLiteral("f_s_prodm"), QStringLiteral("Excluir Produto Marcado"))
{
}
