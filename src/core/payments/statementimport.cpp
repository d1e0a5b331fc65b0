#include "core/payments/paymenterror.h"
#include "core/payments/statement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace StatementImport {

namespace {

// Windows-1252 where it differs from Latin-1 (0x80 to 0x9F); the five codes it leaves unused stay as
// Latin-1 has them.
constexpr char16_t cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool looksOfx(const QByteArray& bytes) {
    const QByteArray head = bytes.left(4096).toUpper();
    return head.contains("OFXHEADER") || head.contains("<OFX>");
}

} // namespace

QString decode(const QByteArray& bytes) {
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF")) b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(b);
    if (!utf8.hasError()) return text;
    text.clear();
    text.reserve(b.size());
    for (const char c : std::as_const(b)) {
        const auto u = quint8(c);
        text += QChar(u >= 0x80 && u < 0xA0 ? cp1252High[u - 0x80] : char16_t(u));
    }
    return text;
}

Statement read(const QByteArray& bytes, const QString& name) {
    Statement s;
    s.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    if (looksOfx(bytes)) {
        s.format = QStringLiteral("OFX");
        s.credits = readOfx(bytes, name);
    } else {
        s.credits = readCsv(bytes, name, s.format);
    }
    return s;
}

Statement read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw PaymentError(QStringLiteral("Não foi possível abrir o extrato %1: %2.")
                               .arg(QFileInfo(path).fileName(), f.errorString()));
    const QByteArray bytes = f.readAll();
    if (bytes.trimmed().isEmpty())
        throw PaymentError(QStringLiteral("O extrato %1 está vazio.").arg(QFileInfo(path).fileName()));
    return read(bytes, QFileInfo(path).fileName());
}

} // namespace StatementImport
