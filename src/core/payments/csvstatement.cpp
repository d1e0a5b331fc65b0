#include "core/payments/paymenterror.h"
#include "core/payments/pixcode.h"
#include "core/payments/statement.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>

namespace StatementImport {

namespace {

// Where a bank's export keeps each part of a line, by the header's names (accents, case and signs
// taken off: "Crédito (R$)" is "credito r"). Every name in `needs` must be in the header.
struct Layout {
    QString format;
    QStringList needs;
    QString date, description, amount, id, detail;
};

const QList<Layout>& layouts() {
    static const QList<Layout> list = {
        {QStringLiteral("CSV Banco do Brasil"),
         {"data", "lancamento", "detalhes", "valor"},
         "data",
         "lancamento",
         "valor",
         "n documento",
         "detalhes"},
        {QStringLiteral("CSV Bradesco"),
         {"data", "historico", "credito r"},
         "data",
         "historico",
         "credito r",
         "docto",
         ""},
        {QStringLiteral("CSV Nubank"),
         {"data", "valor", "identificador", "descricao"},
         "data",
         "descricao",
         "valor",
         "identificador",
         ""},
        {QStringLiteral("CSV Itaú"),
         {"data", "lancamento", "valor r"},
         "data",
         "lancamento",
         "valor r",
         "",
         ""},
    };
    return list;
}

QString headerName(const QString& cell) {
    QString n = PixCode::ascii(cell, 1000).toLower();
    n.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral(" "));
    return n.trimmed();
}

// One line's cells: separated by `sep` outside double quotes, a doubled quote inside quotes is one.
QStringList cells(const QString& line, QChar sep) {
    QStringList out;
    QString cur;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                cur += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == sep) {
            out << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur.trimmed();
    return out;
}

QChar separatorOf(const QString& line) {
    return cells(line, QLatin1Char(';')).size() > cells(line, QLatin1Char(',')).size() ? QLatin1Char(';')
                                                                                       : QLatin1Char(',');
}

// "1.234,56", "-50,00", "R$ 12,5", "150.00" (a dot before one or two final digits is a decimal point).
std::optional<qint64> cents(QString t) {
    t.remove(QStringLiteral("R$"));
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0xA0));
    if (t.isEmpty()) return std::nullopt;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    static const QRegularExpression dotDecimal(QStringLiteral("^[0-9]+\\.[0-9]{1,2}$"));
    if (!t.contains(QLatin1Char(',')) && dotDecimal.match(t).hasMatch())
        t.replace(QLatin1Char('.'), QLatin1Char(','));
    t.remove(QLatin1Char('.'));
    static const QRegularExpression form(QStringLiteral("^([0-9]+)(?:,([0-9]{1,2}))?$"));
    const auto m = form.match(t);
    if (!m.hasMatch() || m.captured(1).size() > 15) return std::nullopt;
    const qint64 value =
        m.captured(1).toLongLong() * 100 + m.captured(2).leftJustified(2, QLatin1Char('0')).toInt();
    return negative ? -value : value;
}

// dd/mm/yyyy (or yy), with the time when the cell has it.
std::optional<QDateTime> moment(const QString& cell, bool& hasTime) {
    static const QRegularExpression form(QStringLiteral(
        "^([0-9]{2})/([0-9]{2})/([0-9]{2}|[0-9]{4})(?:[ T]([0-9]{2}):([0-9]{2})(?::([0-9]{2}))?)?$"));
    const auto m = form.match(cell);
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (year < 100) year += 2000;
    const QDate d(year, m.captured(2).toInt(), m.captured(1).toInt());
    hasTime = m.hasCaptured(4) && !m.captured(4).isEmpty();
    const QTime t =
        hasTime ? QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()) : QTime(0, 0);
    if (!d.isValid() || !t.isValid()) return std::nullopt;
    return QDateTime(d, t);
}

// Who paid, from the bank's words around the name ("PIX TRANSF MARIA S14/07", "Transferência recebida
// pelo Pix - MARIA - •••.123.456-••", "14/07 14:03 12345678900 MARIA").
QString payerOf(const QString& description, const QString& detail) {
    QString p = detail.isEmpty() ? description : detail;
    const QStringList dashed = p.split(QStringLiteral(" - "));
    if (dashed.size() >= 2 && headerName(dashed.front()).contains(QStringLiteral("pix"))) p = dashed.at(1);
    static const QRegularExpression noise(
        QStringLiteral("(?i)^(pix\\s+(transf|recebido|receb|credito)\\w*\\s*|rem:?\\s*)|[0-9]{2}/"
                       "[0-9]{2}(\\s+[0-9]{2}:[0-9]{2})?|"
                       "\\b[0-9.\\-/]{11,18}\\b"));
    p.remove(noise);
    return p.simplified();
}

// The time a bank wrote in the description when its date column has none ("14/07 14:03").
void timeFromText(const QString& text, StatementCredit& c) {
    static const QRegularExpression at(QStringLiteral("\\b([0-9]{2})/([0-9]{2}) ([0-9]{2}):([0-9]{2})\\b"));
    const auto m = at.match(text);
    if (c.hasTime || !m.hasMatch()) return;
    const QTime t(m.captured(3).toInt(), m.captured(4).toInt());
    if (!t.isValid() || m.captured(1).toInt() != c.at.date().day()) return;
    c.at.setTime(t);
    c.hasTime = true;
}

} // namespace

QList<StatementCredit> readCsv(const QByteArray& bytes, const QString& name, QString& format) {
    const QStringList lines = decode(bytes).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    const Layout* layout = nullptr;
    QChar sep;
    QStringList header;
    qsizetype first = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 30) && !layout; ++i) {
        sep = separatorOf(lines.at(i));
        header.clear();
        for (const QString& c : cells(lines.at(i), sep))
            header << headerName(c);
        for (const Layout& l : layouts()) {
            if (std::all_of(l.needs.begin(), l.needs.end(),
                            [&](const QString& n) { return header.contains(n); })) {
                layout = &l;
                first = i + 1;
                break;
            }
        }
    }
    if (!layout)
        throw PaymentError(
            QStringLiteral("O extrato %1 não é um arquivo OFX nem uma planilha CSV de um banco "
                           "conhecido (Banco do Brasil, Itaú, Bradesco, Nubank). Nada foi importado.")
                .arg(name));
    format = layout->format;
    const auto col = [&](const QString& n) { return n.isEmpty() ? -1 : int(header.indexOf(n)); };
    const int cDate = col(layout->date), cDesc = col(layout->description), cAmount = col(layout->amount);
    const int cId = col(layout->id), cDetail = col(layout->detail);
    const auto at = [](const QStringList& row, int c) {
        return c >= 0 && c < row.size() ? row.at(c) : QString();
    };

    QList<StatementCredit> out;
    bool lastWasPix = false;
    for (qsizetype i = first; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty()) continue;
        const QStringList row = cells(lines.at(i), sep);
        const QString description = at(row, cDesc), detail = at(row, cDetail), amountText = at(row, cAmount);
        if (at(row, cDate).isEmpty()) {
            // A line that goes on with the one before it: the payer of a Bradesco credit.
            if (lastWasPix && !description.isEmpty() && out.back().payer.isEmpty()) {
                out.back().payer = payerOf(description, QString());
                out.back().memo += QLatin1Char(' ') + description;
            }
            continue;
        }
        lastWasPix = false;
        const bool pix = headerName(description + QLatin1Char(' ') + detail).contains(QStringLiteral("pix"));
        const auto amount = cents(amountText);
        if (!pix || amountText.isEmpty() || (amount && *amount <= 0)) continue;
        bool hasTime = false;
        const auto when = moment(at(row, cDate), hasTime);
        if (!when || !amount)
            throw PaymentError(QStringLiteral("O extrato %1 não pôde ser lido: a linha %2 tem data ou valor "
                                              "ilegível (\"%3\"). Nada foi importado.")
                                   .arg(name)
                                   .arg(i + 1)
                                   .arg(lines.at(i).left(80)));
        StatementCredit c;
        c.at = *when;
        c.hasTime = hasTime;
        c.cents = *amount;
        c.id = at(row, cId);
        c.payer = payerOf(description, detail);
        c.memo = (description + QLatin1Char(' ') + detail).simplified();
        timeFromText(detail.isEmpty() ? description : detail, c);
        out << c;
        lastWasPix = true;
    }
    return out;
}

} // namespace StatementImport
