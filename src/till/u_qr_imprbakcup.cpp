#include "u_qr_imprbakcup.h"

#include "shell/forms.h"

Tqr_impbackup::Tqr_impbackup(Forms&) : Report(QStringLiteral("qr_impbackup"), 89.96, 259.29)
{
    addBand(QStringLiteral("detail"), 10);
}
