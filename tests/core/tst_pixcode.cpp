// The Pix code as the payer's bank reads it: published payloads rebuilt to the character, the festa's
// key checked as typed, and the QR image read back by a real decoder.
#include "core/payments/paymenterror.h"
#include "core/payments/pixcode.h"
#include "core/payments/pixkey.h"
#include "core/payments/pixqr.h"
#include "support/coresupport.h"

#include <zbar.h>

#include <optional>

Q_DECLARE_METATYPE(PixKey::Type)

namespace {

constexpr auto bcbExample =
    "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-4266554400005204000053039865802BR"
    "5913Fulano de Tal6008BRASILIA62070503***63041D3D";

// What zbar reads in the image, or empty.
QString decoded(const QImage& image) {
    using namespace zbar; // its C interface, in a namespace when included from C++
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    for (int y = 0; y < gray.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(gray.constScanLine(y)), gray.width());
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* img = zbar_image_create();
    zbar_image_set_format(img, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(img, unsigned(gray.width()), unsigned(gray.height()));
    zbar_image_set_data(img, pixels.constData(), unsigned(pixels.size()), nullptr);
    QString text;
    if (zbar_scan_image(scanner, img) > 0)
        text = QString::fromUtf8(zbar_symbol_get_data(zbar_image_first_symbol(img)));
    zbar_image_destroy(img);
    zbar_image_scanner_destroy(scanner);
    return text;
}

} // namespace

class TestPixCode : public QObject {
    Q_OBJECT

private slots:
    // Payloads published by the Central Bank and by public libraries' test suites: every CRC checks,
    // and those of a static code the builder makes rebuild to the character (accents taken off, the
    // city cut to 15).
    void publishedPayloads_data() {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QString>("key"); // empty: a payload this builder does not make (CRC only)
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("city");
        QTest::addColumn<qint64>("cents"); // -1: no amount
        QTest::addColumn<QString>("txid");
        QTest::newRow("central bank's example")
            << QString(bcbExample) << "123e4567-e12b-12d1-a456-426655440000"
            << "Fulano de Tal"
            << "BRASILIA" << qint64(-1) << "";
        QTest::newRow("CNPJ key, amount, long city")
            << "00020126360014br.gov.bcb.pix0114112223330001815204000053039865406480.505802BR5917Mello "
               "Transportes"
               "6015Sao Jose do Rio62130509FAT009001630432F5"
            << "11.222.333/0001-81"
            << "Mello Transportes"
            << "São José do Rio Preto" << qint64(48050) << "FAT009001";
        QTest::newRow("upper-case domain") << "00020126580014BR.GOV.BCB.PIX0136123e4567-e12b-12d1-a456-"
                                              "42665544000052040000530398654041.005802BR"
                                              "5913Fulano de Tal6008BRASILIA62070503***630451B8"
                                           << ""
                                           << ""
                                           << "" << qint64(0) << "";
        QTest::newRow("with description") << "00020126670014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-"
                                             "4266554400000205Teste520400005303986540"
                                             "45.005802BR5913Fulano de Tal6008BRASILIA6207050312363040E95"
                                          << ""
                                          << ""
                                          << "" << qint64(0) << "";
        QTest::newRow("dynamic (URL)")
            << "00020101021226720014br.gov.bcb.pix2550bx.com.br/pix/"
               "8b3da2f3-9a41-40d1-a91a-bd93113bd441520400005"
               "3039865406123.455802BR5913Fulano de Tal6008BRASILIA62190515RP12345678-2019630445C8"
            << ""
            << ""
            << "" << qint64(0) << "";
    }
    void publishedPayloads() {
        QFETCH(QString, payload);
        QFETCH(QString, key);
        QCOMPARE(PixCode::crcText(payload.chopped(4).toLatin1()), payload.right(4));
        if (key.isEmpty()) return;
        QFETCH(QString, name);
        QFETCH(QString, city);
        QFETCH(qint64, cents);
        QFETCH(QString, txid);
        const auto amount = cents < 0 ? std::nullopt : std::optional<qint64>(cents);
        QCOMPARE(PixCode::payload({key, name, city, amount, txid}), payload);
    }

    void crcCheckValue() { QCOMPARE(PixCode::crc16("123456789"), quint16(0x29B1)); }

    // Every kind of key as typed, and every fault a typed key can have.
    void keys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<PixKey::Type>("type");
        QTest::addColumn<QString>("key");   // the form the code carries, when good
        QTest::addColumn<QString>("fault"); // the start of the message, when bad
        using T = PixKey::Type;
        QTest::newRow("CPF with dots") << "529.982.247-25" << T::Cpf << "52998224725"
                                       << "";
        QTest::newRow("CPF check digit") << "529.982.247-24" << T::Cpf << ""
                                         << "CPF inválido: os dígitos";
        QTest::newRow("CPF all equal") << "111.111.111-11" << T::Cpf << ""
                                       << "CPF inválido: os onze";
        QTest::newRow("CNPJ digits") << "11.222.333/0001-81" << T::Cnpj << "11222333000181"
                                     << "";
        QTest::newRow("CNPJ check digit") << "11222333000182" << T::Cnpj << ""
                                          << "CNPJ inválido: os dígitos";
        QTest::newRow("CNPJ letters") << "12.abc.345/01de-35" << T::Cnpj << "12ABC34501DE35"
                                      << "";
        QTest::newRow("CNPJ letters, check") << "12ABC34501DE36" << T::Cnpj << ""
                                             << "CNPJ inválido: os dígitos";
        QTest::newRow("CNPJ letter in check") << "12ABC34501DE3X" << T::Cnpj << ""
                                              << "CNPJ inválido: são 12";
        QTest::newRow("phone") << "+55 (11) 98765-4321" << T::Phone << "+5511987654321"
                               << "";
        QTest::newRow("phone, other country") << "+1 202 555 0100" << T::Phone << ""
                                              << "Telefone inválido: a chave";
        QTest::newRow("phone, no plus") << "5511987654321" << T::Phone << ""
                                        << "Telefone inválido: a chave";
        QTest::newRow("phone, landline") << "+551132654321" << T::Phone << ""
                                         << "Telefone inválido: depois";
        QTest::newRow("phone, area 01") << "+5501987654321" << T::Phone << ""
                                        << "Telefone inválido: o DDD 01";
        QTest::newRow("e-mail") << " Tesouraria@Paroquia.org.br " << T::Email << "tesouraria@paroquia.org.br"
                                << "";
        QTest::newRow("e-mail, no domain") << "festa@local" << T::Email << ""
                                           << "E-mail inválido: use";
        QTest::newRow("e-mail, accent") << "joão@festa.com" << T::Email << ""
                                        << "E-mail inválido: use";
        QTest::newRow("e-mail, too long") << QString(70, 'a') + "@festa.com" << T::Email << ""
                                          << "E-mail inválido: a chave";
        QTest::newRow("random") << "123E4567-E12B-12D1-A456-426655440000" << T::Random
                                << "123e4567-e12b-12d1-a456-426655440000"
                                << "";
        QTest::newRow("random, not hex") << "123e4567-e12b-12d1-a456-42665544000g" << T::Random << ""
                                         << "Chave aleatória inválida";
        QTest::newRow("empty") << "   " << T::None << ""
                               << "A chave Pix da festa não foi informada";
        QTest::newRow("unknown") << "12345" << T::None << ""
                                 << "Chave Pix não reconhecida";
    }
    void keys() {
        QFETCH(QString, typed);
        QFETCH(PixKey::Type, type);
        QFETCH(QString, key);
        QFETCH(QString, fault);
        const PixKey k = PixKey::check(typed);
        QCOMPARE(k.type, type);
        QCOMPARE(k.key, key);
        QVERIFY2(fault.isEmpty() ? k.fault.isEmpty() : k.fault.startsWith(fault), qPrintable(k.fault));
    }

    // Names and cities as the code carries them, and each payment the builder refuses with its reason.
    void fieldsAndRefusals_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("txid");
        QTest::addColumn<QString>("expected"); // a part of the payload, or the start of the refusal
        const QString k = QStringLiteral("+5511987654321");
        QTest::newRow("accents off, cut to 25")
            << k << "Paróquia São José — Matriz de Ação" << qint64(100) << ""
            << "5924Paroquia Sao Jose Matriz";
        QTest::newRow("amount, cents") << k << "Festa" << qint64(1005) << ""
                                       << "540510.05";
        QTest::newRow("amount, widest") << k << "Festa" << qint64(999999999999) << ""
                                        << "54139999999999.99";
        QTest::newRow("txid of a sale")
            << k << "Festa" << qint64(1) << PixCode::txid(3, 17, 42) << "62190515D03T0017V000042";
        QTest::newRow("amount too long") << k << "Festa" << qint64(1000000000000) << ""
                                         << "Valor alto demais";
        QTest::newRow("amount zero") << k << "Festa" << qint64(0) << ""
                                     << "O valor do Pix deve ser";
        QTest::newRow("no key set") << ""
                                    << "Festa" << qint64(100) << ""
                                    << "A chave Pix da festa não foi configurada";
        QTest::newRow("bad key") << "529.982.247-24"
                                 << "Festa" << qint64(100) << ""
                                 << "CPF inválido";
        QTest::newRow("no name") << k << "—" << qint64(100) << ""
                                 << "Informe o nome";
        QTest::newRow("txid with a dash") << k << "Festa" << qint64(100) << "D01-T2"
                                          << "O identificador do Pix";
    }
    void fieldsAndRefusals() {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(qint64, cents);
        QFETCH(QString, txid);
        QFETCH(QString, expected);
        QString payload, refusal;
        try {
            payload = PixCode::payload({key, name, QStringLiteral("São Paulo"), cents, txid});
        } catch (const PaymentError& e) {
            refusal = e.text();
        }
        if (refusal.isEmpty()) {
            QVERIFY2(payload.contains(expected), qPrintable(payload));
            QVERIFY(payload.contains(QStringLiteral("6009Sao Paulo")));
        } else {
            QVERIFY2(refusal.startsWith(expected), qPrintable(refusal));
        }
    }

    void txidLimits() {
        QCOMPARE(PixCode::txid(2, 17, 123), QStringLiteral("D02T0017V000123"));
        QCOMPARE(PixCode::txid(10, 99999, 9999999999).size(), 20);
        QVERIFY_THROWS_EXCEPTION(PaymentError, PixCode::txid(1, 1, 999999999999999999));
    }

    // The image a phone scans: zbar reads back the exact payload at every scale the sale screen may use,
    // with the quiet zone white around it.
    void qrReadsBack_data() {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<int>("scale");
        QTest::newRow("central bank's example, 1 px") << QString(bcbExample) << 1;
        QTest::newRow("sale with txid, 4 px")
            << PixCode::payload({"12.ABC.345/01DE-35", "Quermesse São Benedito", "Ribeirão Preto", 123456,
                                 PixCode::txid(4, 12, 345)})
            << 4;
    }
    void qrReadsBack() {
        QFETCH(QString, payload);
        QFETCH(int, scale);
        const QImage img = PixQr::image(payload, scale);
        QCOMPARE(decoded(img), payload);
        const int last = img.width() - 1; // the image is square
        for (int i = 0; i <= last; ++i)
            for (int m = 0; m < 4 * scale; ++m) // the four margins
                QVERIFY(qGray(img.pixel(m, i)) == 255 && qGray(img.pixel(last - m, i)) == 255 &&
                        qGray(img.pixel(i, m)) == 255 && qGray(img.pixel(i, last - m)) == 255);
    }
};

QUORVANTA_CORE_TEST_MAIN(TestPixCode)
#include "tst_pixcode.moc"
