#include "u_fechamento.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_fechamento::Tf_fechamento(Forms& forms) : Form(forms, QStringLiteral("f_fechamento"), QStringLiteral("Fechamento de Caixa"))
{
    lncaixa = label(QStringLiteral("lncaixa"), QString());
    ldata = label(QStringLiteral("ldata"), QString());
    lhora = label(QStringLiteral("lhora"), QString());
    Edit1 = lineEdit(QStringLiteral("Edit1"));
}
