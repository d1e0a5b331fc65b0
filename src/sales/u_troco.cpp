#include "u_troco.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_troco::Tf_troco(Forms& forms) : Form(forms, QStringLiteral("f_troco"), QStringLiteral("TROCO"))
{
}
