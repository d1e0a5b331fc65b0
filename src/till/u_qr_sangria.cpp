#include "u_qr_sangria.h"

#include "shell/forms.h"

Tqr_sangria::Tqr_sangria(Forms&) : Report(QStringLiteral("qr_sangria"), 89.96, 98.69)
{
    addBand(QStringLiteral("detail"), 10);
}
