#include "u_qr_fechamento.h"

#include "shell/forms.h"

Tqr_fechamento::Tqr_fechamento(Forms&) : Report(QStringLiteral("qr_fechamento"), 89.96, 259.29)
{
    addBand(QStringLiteral("detail"), 10);
}
