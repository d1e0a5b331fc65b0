#include "u_confi_impr.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_confi_impr::Tf_confi_impr(Forms& forms) : Form(forms, QStringLiteral("f_confi_impr"), QStringLiteral("Dados da Festa"))
{
}
