#include "money.h"

#include "errors.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <string>

namespace Money {

namespace {

const QRegularExpression& pattern() {
    static const QRegularExpression re(QStringLiteral(R"(^\s*[+-]?(\d+(,\d*)?|,\d+)([eE][+-]?\d+)?\s*$)"));
    return re;
}

// Rounds to `decimals` places: the value is first written with 15 significant digits,
// then rounded in decimal, halves away from zero.
QString fixed(double value, int decimals) {
    if (!std::isfinite(value)) throw ConversionError(QStringLiteral("Valor fora dos limites"));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    // value = 0.<digits> * 10^(exponent + 1); keep `decimals` places after the point.
    const int intLen = exponent + 1; // digits before the decimal point
    const int keep = intLen + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep <= 0) {
        roundUp = keep == 0 && digits[0] >= '5';
        kept = "0";
    } else if (keep >= int(digits.size())) {
        kept = digits + std::string(keep - digits.size(), '0');
    } else {
        kept = digits.substr(0, keep);
        roundUp = digits[keep] >= '5';
    }
    if (roundUp) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i];
    }
    // kept is an integer equal to value * 10^decimals
    while (int(kept.size()) < decimals + 1)
        kept.insert(kept.begin(), '0');
    std::string intPart = kept.substr(0, kept.size() - decimals);
    const std::string frac = kept.substr(kept.size() - decimals);
    const auto nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    const bool zero = intPart == "0" && frac.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !zero) ? "-" : "";
    out += intPart;
    if (decimals > 0) out += "," + frac;
    return QString::fromStdString(out);
}

} // namespace

bool isValid(const QString& text) {
    return pattern().match(text).hasMatch();
}

double parse(const QString& text) {
    if (text.trimmed().isEmpty())
        throw ConversionError(
            QStringLiteral("Valor em branco: digite um valor numérico (por exemplo 2,50)."));
    if (!isValid(text))
        throw ConversionError(QStringLiteral("'%1' não é um valor numérico válido").arg(text));
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('.')) || t.startsWith(QLatin1String("-.")) ||
        t.startsWith(QLatin1String("+.")))
        t.insert(t.indexOf(QLatin1Char('.')), QLatin1Char('0'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) throw ConversionError(QStringLiteral("'%1' não é um valor numérico válido").arg(text));
    return v;
}

QString format(double value) {
    return fixed(value, 2);
}

QString count(double value) {
    return fixed(value, 0);
}

} // namespace Money
