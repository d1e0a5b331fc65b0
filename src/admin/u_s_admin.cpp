#include "u_s_admin.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_s_admin::Tf_s_admin(Forms& forms) : Form(forms, QStringLiteral("f_s_admin"), QStringLiteral("Painel do Admin"))
{
}
