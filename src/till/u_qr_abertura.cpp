#include "u_qr_abertura.h"

#include "shell/forms.h"

Tqr_abertura::Tqr_abertura(Forms&) : Report(QStringLiteral("qr_abertura"), 89.96, 117.21)
{
    addBand(QStringLiteral("detail"), 10);
}
