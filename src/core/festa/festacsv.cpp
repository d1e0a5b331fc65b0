#include "festacsv.h"

#include "core/history/historycsv.h"

#include <QDateTime>

namespace FestaCsv {

using HistoryCsv::dateField;
using HistoryCsv::moneyField;
using HistoryCsv::optionalMoneyField;
using HistoryCsv::Sheet;
using HistoryCsv::textField;
using HistoryCsv::timeField;

QByteArray tillList(const QList<FestaPanelStore::ClosedTill>& tills) {
    Sheet s;
    s.row({"Caixa", QStringLiteral("Nº"), "Data abertura", "Hora abertura", "Data fechamento",
           "Hora fechamento", QStringLiteral("Responsável"), "Operador", "Fechado por", "Entrada", "Vendas",
           "Sangria", "Sangrias", "Esperado", "Contado", QStringLiteral("Diferença")});
    for (const FestaPanelStore::ClosedTill& t : tills) {
        // the desk sends its closing moment as ISO text; anything else is kept as it came
        const QDateTime closed = QDateTime::fromString(t.closedAt, Qt::ISODateWithMs);
        s.row({textField(t.deskName), QString::number(t.number), textField(t.openDate), textField(t.openTime),
               closed.isValid() ? dateField(closed) : textField(t.closedAt), timeField(closed),
               textField(t.responsible), textField(t.operatorName), textField(t.closedBy),
               moneyField(t.floatCents), moneyField(t.salesCents), moneyField(t.withdrawnCents),
               QString::number(t.withdrawals), moneyField(t.expectedCents),
               optionalMoneyField(t.countedCents),
               t.countedCents ? moneyField(*t.countedCents - t.expectedCents) : QString()});
    }
    return s.bytes();
}

} // namespace FestaCsv
