#include "historycsv.h"

#include "core/base/errors.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

namespace HistoryCsv {

namespace {

// A text field: quoted when it holds a separator, a quote or a line break; a leading character that a
// spreadsheet would read as the start of a formula is neutralised.
QString text(const QString& value) {
    QString v = value;
    if (!v.isEmpty() && QStringLiteral("=+-@").contains(v.front())) v.prepend(QLatin1Char('\''));
    if (v.contains(QLatin1Char(';')) || v.contains(QLatin1Char('"')) || v.contains(QLatin1Char('\n')) ||
        v.contains(QLatin1Char('\r')))
        v = QLatin1Char('"') + v.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return v;
}

QString money(qint64 cents) {
    return HistoryStore::moneyText(cents);
}

QString optionalMoney(const std::optional<qint64>& cents) {
    return cents ? money(*cents) : QString();
}

QString date(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString time(const QDateTime& d) {
    return d.isValid() ? d.toString(QStringLiteral("HH:mm:ss")) : QString();
}

class Sheet {
public:
    void row(const QStringList& fields) { m_text += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n"); }
    QByteArray bytes() const { return QByteArray("\xEF\xBB\xBF") + m_text.toUtf8(); }

private:
    QString m_text;
};

} // namespace

QByteArray tillList(const QList<HistoryStore::ClosedTill>& tills) {
    Sheet s;
    s.row({"Caixa", "Data abertura", "Hora abertura", "Data fechamento", "Hora fechamento",
           QStringLiteral("Responsável"), "Operador", "Fechado por", "Entrada", "Vendas", "Sangria",
           "Sangrias", "Esperado", "Contado", QStringLiteral("Diferença")});
    for (const HistoryStore::ClosedTill& t : tills) {
        const QString openDate = t.openedAt.isValid() ? date(t.openedAt) : text(t.openDate);
        const QString openTime = t.openedAt.isValid() ? time(t.openedAt) : text(t.openTime);
        s.row({QString::number(t.number), openDate, openTime, date(t.closedAt), time(t.closedAt),
               text(t.responsible), text(t.operatorName), text(t.closedBy), money(t.floatCents),
               money(t.salesCents), money(t.withdrawnCents), QString::number(t.withdrawals),
               money(t.expectedCents), optionalMoney(t.countedCents), optionalMoney(t.differenceCents())});
    }
    return s.bytes();
}

QByteArray summary(const HistorySummary::Summary& sum) {
    Sheet s;
    s.row({QStringLiteral("Código"), "Produto", QStringLiteral("Preço"), "Unidades", "Fichas", "Valor"});
    for (const HistoryStore::ProductSold& p : sum.products)
        s.row({text(p.key), text(p.name), text(HistorySummary::priceText(p.price)), QString::number(p.units),
               QString::number(p.tickets), money(p.cents)});
    s.row({"Total", "", "", QString::number(sum.units), QString::number(sum.tickets), money(sum.salesCents)});
    s.row({});
    s.row({"Data", "Hora", "Vendas", "Valor"});
    for (const HistorySummary::HourAmount& h : sum.hours)
        s.row({date(h.hour), h.hour.toString(QStringLiteral("HH:mm")), QString::number(h.sales),
               money(h.cents)});
    return s.bytes();
}

QByteArray festaTillList(const QList<FestaPanelStore::ClosedTill>& tills) {
    Sheet s;
    s.row({"Caixa", QStringLiteral("Nº"), "Data abertura", "Hora abertura", "Data fechamento",
           "Hora fechamento", QStringLiteral("Responsável"), "Operador", "Fechado por", "Entrada", "Vendas",
           "Sangria", "Sangrias", "Esperado", "Contado", QStringLiteral("Diferença")});
    for (const FestaPanelStore::ClosedTill& t : tills) {
        // the desk sends its closing moment as ISO text; anything else is kept as it came
        const QDateTime closed = QDateTime::fromString(t.closedAt, Qt::ISODateWithMs);
        s.row({text(t.deskName), QString::number(t.number), text(t.openDate), text(t.openTime),
               closed.isValid() ? date(closed) : text(t.closedAt), time(closed), text(t.responsible),
               text(t.operatorName), text(t.closedBy), money(t.floatCents), money(t.salesCents),
               money(t.withdrawnCents), QString::number(t.withdrawals), money(t.expectedCents),
               optionalMoney(t.countedCents),
               t.countedCents ? money(*t.countedCents - t.expectedCents) : QString()});
    }
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
