#include "u_qr_fichas.h"

#include "shell/forms.h"

Tqr_fichas::Tqr_fichas(Forms&) : Report(QStringLiteral("qr_fichas"), 90.0, 135.0)
{
    addBand(QStringLiteral("detail"), 10);
}
