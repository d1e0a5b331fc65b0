#include "u_abertura.h"

#include "shell/forms.h"

#include <QLabel>
#include <QLineEdit>

Tf_abertura::Tf_abertura(Forms& forms) : Form(forms, QStringLiteral("f_abertura"), QStringLiteral("Abertura de Caixa"))
{
    edt_responsavel = lineEdit(QStringLiteral("edt_responsavel"));
    edt_operador = lineEdit(QStringLiteral("edt_operador"));
    edt_data = lineEdit(QStringLiteral("edt_data"));
    edt_hora = lineEdit(QStringLiteral("edt_hora"));
    edt_entrada = lineEdit(QStringLiteral("edt_entrada"));
}
