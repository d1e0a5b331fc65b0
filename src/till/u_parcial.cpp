#include "u_parcial.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_parcial::Tf_parcial(Forms& forms) : Form(forms, QStringLiteral("f_parcial"), QStringLiteral("Parcial de Caixa"))
{
    lentrada = label(QStringLiteral("lentrada"), QString());
    lsangria = label(QStringLiteral("lsangria"), QString());
    lcaixa = label(QStringLiteral("lcaixa"), QString());
    lcont_sangria = label(QStringLiteral("lcont_sangria"), QString());
    lresponsavel = label(QStringLiteral("lresponsavel"), QString());
    loperador = label(QStringLiteral("loperador"), QString());
    ldata = label(QStringLiteral("ldata"), QString());
    lhora = label(QStringLiteral("lhora"), QString());
    lenter = label(QStringLiteral("lenter"), QString());
}
