#include "printsettlement.h"

#include "core/till/tillmodel.h"
#include "gui/common/messages.h"

QStringList settleInDoubt(QWidget* parent, TillModel& till) {
    QStringList told = till.settleDocuments([parent](const PrintJournal::Document& d) {
        return Messages::question(parent, TillModel::question(d));
    });
    for (const QString& text : told)
        Messages::plain(parent, text);
    return told;
}
