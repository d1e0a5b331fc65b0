#include "historycsv.h"

#include "core/base/errors.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

namespace HistoryCsv {

QString textField(const QString& value) {
    QString v = value;
    if (!v.isEmpty() && QStringLiteral("=+-@").contains(v.front())) v.prepend(QLatin1Char('\''));
    if (v.contains(QLatin1Char(';')) || v.contains(QLatin1Char('"')) || v.contains(QLatin1Char('\n')) ||
        v.contains(QLatin1Char('\r')))
        v = QLatin1Char('"') + v.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return v;
}

QString moneyField(qint64 cents) {
    return HistoryStore::moneyText(cents);
}

QString optionalMoneyField(const std::optional<qint64>& cents) {
    return cents ? moneyField(*cents) : QString();
}

QString dateField(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString timeField(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QByteArray tillList(const QList<HistoryStore::ClosedTill>& tills) {
    Sheet s;
    s.row({"Caixa", "Data abertura", "Hora abertura", "Data fechamento", "Hora fechamento",
           QStringLiteral("Responsável"), "Operador", "Fechado por", "Entrada", "Vendas", "Sangria",
           "Sangrias", "Esperado", "Contado", QStringLiteral("Diferença")});
    for (const HistoryStore::ClosedTill& t : tills) {
        const QString openDate = t.openedAt.isValid() ? dateField(t.openedAt) : textField(t.openDate);
        const QString openTime = t.openedAt.isValid() ? timeField(t.openedAt) : textField(t.openTime);
        s.row({QString::number(t.number), openDate, openTime, dateField(t.closedAt), timeField(t.closedAt),
               textField(t.responsible), textField(t.operatorName), textField(t.closedBy),
               moneyField(t.floatCents), moneyField(t.salesCents), moneyField(t.withdrawnCents),
               QString::number(t.withdrawals), moneyField(t.expectedCents),
               optionalMoneyField(t.countedCents), optionalMoneyField(t.differenceCents())});
    }
    return s.bytes();
}

QByteArray summary(const HistorySummary::Summary& sum) {
    Sheet s;
    s.row({QStringLiteral("Código"), "Produto", QStringLiteral("Preço"), "Unidades", "Fichas", "Valor"});
    for (const HistoryStore::ProductSold& p : sum.products)
        s.row({textField(p.key), textField(p.name), textField(HistorySummary::priceText(p.price)),
               QString::number(p.units), QString::number(p.tickets), moneyField(p.cents)});
    s.row({"Total", "", "", QString::number(sum.units), QString::number(sum.tickets),
           moneyField(sum.salesCents)});
    s.row({});
    s.row({"Data", "Hora", "Vendas", "Valor"});
    for (const HistorySummary::HourAmount& h : sum.hours)
        s.row({dateField(h.hour), h.hour.toString(QStringLiteral("HH:mm")), QString::number(h.sales),
               moneyField(h.cents)});
    return s.bytes();
}

QString defaultFolder() {
    QString folder = QDir::home().filePath(QStringLiteral("quorvanta/relatorios"));
    QDir().mkpath(folder);
    return folder;
}

void write(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw AppError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, f.errorString()));
}

} // namespace HistoryCsv
