#include "core/payments/paymenterror.h"
#include "core/payments/statement.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <libofx/libofx.h>

#include <cmath>
#include <memory>

namespace StatementImport {

namespace {

struct OfxRead {
    QList<StatementCredit> credits;
    bool statement = false;
    bool transactions = false;
};

QString text(const char* chars, int valid) {
    return valid ? decode(QByteArray(chars)).simplified() : QString();
}

int onTransaction(const OfxTransactionData data, void* user) {
    auto* read = static_cast<OfxRead*>(user);
    read->transactions = true;
    if (!data.amount_valid || !data.date_posted_valid) return 0;
    const qint64 cents = std::llround(data.amount * 100.0);
    if (cents <= 0) return 0; // debits
    StatementCredit c;
    c.at = QDateTime::fromSecsSinceEpoch(qint64(data.date_posted));
    c.cents = cents;
    c.id = text(data.fi_id, data.fi_id_valid);
    c.payer = text(data.name, data.name_valid);
    c.memo = text(data.memo, data.memo_valid);
    read->credits << c;
    return 0;
}

int onStatement(const OfxStatementData, void* user) {
    static_cast<OfxRead*>(user)->statement = true;
    return 0;
}

// The file's text in UTF-8 and its header saying so: banks label Windows-1252 files as UTF-8 and the
// other way round, and libofx believes the label.
QByteArray relabelled(const QByteArray& bytes) {
    QString t = decode(bytes);
    static const QRegularExpression encoding(QStringLiteral("^ENCODING:.*$"),
                                             QRegularExpression::MultilineOption);
    static const QRegularExpression charset(QStringLiteral("^CHARSET:.*$"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression xmlEncoding(QStringLiteral("encoding\\s*=\\s*\"[^\"]*\""));
    t.replace(encoding, QStringLiteral("ENCODING:UTF-8"));
    t.replace(charset, QStringLiteral("CHARSET:NONE"));
    t.replace(xmlEncoding, QStringLiteral("encoding=\"UTF-8\""));
    return t.toUtf8();
}

} // namespace

QList<StatementCredit> readOfx(const QByteArray& bytes, const QString& name) {
    const QString unreadable =
        QStringLiteral("O extrato %1 não pôde ser lido: o arquivo OFX está incompleto ou "
                       "danificado. Nada foi importado.")
            .arg(name);
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/quorvanta-extrato-XXXXXX.ofx"));
    if (!file.open() || file.write(relabelled(bytes)) < 0 || !file.flush())
        throw PaymentError(QStringLiteral("O extrato %1 não pôde ser preparado para leitura: %2.")
                               .arg(name, file.errorString()));
    ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = 0;
    ofx_DEBUG4_msg = ofx_DEBUG5_msg = ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = ofx_ERROR_msg = 0;
    const std::unique_ptr<void, decltype(&libofx_free_context)> context(libofx_get_new_context(),
                                                                        &libofx_free_context);
    OfxRead read;
    ofx_set_transaction_cb(context.get(), &onTransaction, &read);
    ofx_set_statement_cb(context.get(), &onStatement, &read);
    const QByteArray path = QFile::encodeName(file.fileName());
    const int rc = libofx_proc_file(context.get(), path.constData(), OFX);
    if (rc != 0 || (!read.statement && !read.transactions)) throw PaymentError(unreadable);
    return read.credits;
}

} // namespace StatementImport
