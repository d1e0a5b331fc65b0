#include "core/base/money.h"
#include "core/payments/reconciliation.h"

#include <QStringList>

namespace Reconciliation {

namespace {

QString cell(QString text) {
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}

QString when(const QDateTime& at, bool hasTime = true) {
    return at.toString(hasTime ? QStringLiteral("dd/MM/yyyy HH:mm:ss") : QStringLiteral("dd/MM/yyyy"));
}

QString line(const QStringList& cells) {
    QStringList out;
    for (const QString& c : cells)
        out << cell(c);
    return out.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

QStringList saleCells(const PixSale& s) {
    return {s.desk, QString::number(s.till), QString::number(s.sale),
            s.txid, Cents(s.cents).text(),   when(s.moment)};
}

QStringList creditCells(const StatementCredit& c) {
    return {when(c.at, c.hasTime), Cents(c.cents).text(), c.payer, c.id, c.memo};
}

} // namespace

QByteArray csv(const QList<PixSale>& sales, const QList<StatementCredit>& credits, const Result& r) {
    QString out = line(
        {QStringLiteral("Situação"), QStringLiteral("Caixa"), QStringLiteral("Número do caixa"),
         QStringLiteral("Venda"), QStringLiteral("Txid"), QStringLiteral("Valor da venda"),
         QStringLiteral("Momento da venda"), QStringLiteral("Crédito em"), QStringLiteral("Valor do crédito"),
         QStringLiteral("Pagador"), QStringLiteral("Identificador"), QStringLiteral("Descrição do banco")});
    const QStringList noSale(6), noCredit(5);
    for (const Match& m : r.matched)
        out +=
            line(QStringList{m.byTxid ? QStringLiteral("Conferida pelo txid") : QStringLiteral("Conferida")} +
                 saleCells(sales.at(m.sale)) + creditCells(credits.at(m.credit)));
    for (const qsizetype i : r.salesWithoutCredit)
        out += line(QStringList{QStringLiteral("Venda sem crédito")} + saleCells(sales.at(i)) + noCredit);
    for (const qsizetype c : r.creditsWithoutSale)
        out += line(QStringList{QStringLiteral("Crédito sem venda")} + noSale + creditCells(credits.at(c)));
    out += QStringLiteral("\r\n");
    out += line({QStringLiteral("Caixa"), QStringLiteral("Número do caixa"), QStringLiteral("Vendas Pix"),
                 QStringLiteral("Valor das vendas"), QStringLiteral("Conferidas"),
                 QStringLiteral("Valor conferido"), QStringLiteral("Sem crédito"),
                 QStringLiteral("Valor sem crédito")});
    for (const DeskTillTotal& t : r.totals)
        out += line({t.desk, QString::number(t.till), QString::number(t.sales), Cents(t.salesCents).text(),
                     QString::number(t.matched), Cents(t.matchedCents).text(), QString::number(t.missing),
                     Cents(t.missingCents).text()});
    out += line({QStringLiteral("Créditos sem venda"), QString(),
                 QString::number(r.creditsWithoutSale.size()), Cents(r.creditsWithoutSaleCents).text()});
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace Reconciliation
