#include "money.h"

#include "errors.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <optional>
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

namespace {

// An amount kept as a double is exact to the cent only up to 15 significant digits.
constexpr int maxSignificantDigits = 15;

// The digits that carry the amount: from the first non-zero one to the units or the last non-zero
// decimal, whichever is further right ("0,50" has 1, "100" has 3, "1E3" has 4).
int significantDigits(const QString& mantissa, int exponent) {
    const int comma = mantissa.indexOf(QLatin1Char(','));
    const QString intPart = comma < 0 ? mantissa : mantissa.left(comma);
    QString digits = intPart + (comma < 0 ? QString() : mantissa.mid(comma + 1));
    int pointAt = int(intPart.size()) + exponent; // digits before the decimal point
    while (digits.endsWith(QLatin1Char('0')) && int(digits.size()) > pointAt)
        digits.chop(1);
    int first = 0;
    while (first < digits.size() && digits[first] == QLatin1Char('0'))
        ++first;
    if (first == digits.size()) return 0;
    return qMax(int(digits.size()), pointAt) - first;
}

// The amount of a money text, or nullopt when it is malformed or cannot be kept exactly to the cent.
std::optional<double> read(const QString& text) {
    const QRegularExpressionMatch m = pattern().match(text);
    if (!m.hasMatch()) return std::nullopt;
    QString t = text.trimmed();
    const qsizetype e = t.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    bool ok = true;
    const long long exponent = e < 0 ? 0 : t.mid(e + 1).toLongLong(&ok);
    if (!ok || exponent > 100 || exponent < -100) return std::nullopt;
    QString mantissa = e < 0 ? t : t.left(e);
    if (mantissa.startsWith(QLatin1Char('+')) || mantissa.startsWith(QLatin1Char('-'))) mantissa.remove(0, 1);
    if (significantDigits(mantissa, int(exponent)) > maxSignificantDigits) return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('.')) || t.startsWith(QLatin1String("-.")) ||
        t.startsWith(QLatin1String("+.")))
        t.insert(t.indexOf(QLatin1Char('.')), QLatin1Char('0'));
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace

bool isValid(const QString& text) {
    return read(text).has_value();
}

double parse(const QString& text) {
    const std::optional<double> v = read(text);
    if (!v) throw ConversionError(QStringLiteral("'%1' não é um valor numérico válido").arg(text));
    return *v;
}

} // namespace Money

Cents Cents::parse(const QString& text) {
    // The decimal rounding of format(), on the amount's 15 significant digits, then its digits.
    const QString fixed = Money::format(Money::parse(text));
    const bool negative = fixed.startsWith(QLatin1Char('-'));
    QString digits = negative ? fixed.mid(1) : fixed;
    digits.remove(QLatin1Char(','));
    const qint64 v = digits.toLongLong();
    return Cents(negative ? -v : v);
}

QString Cents::text() const {
    const qint64 a = m_value < 0 ? -m_value : m_value;
    return (m_value < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 100) + QLatin1Char(',') +
           QString::number(a % 100).rightJustified(2, QLatin1Char('0'));
}

namespace Money {

QString format(double value) {
    return fixed(value, 2);
}

QString count(double value) {
    return fixed(value, 0);
}

} // namespace Money
