#include "pixqr.h"

#include "core/payments/paymenterror.h"

#include <qrencode.h>

#include <memory>

namespace PixQr {

QImage image(const QString& payload, int scale) {
    constexpr int quiet = 4;
    if (scale < 1) throw PaymentError(QStringLiteral("Escala do QR code inválida."));
    const QByteArray bytes = payload.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code) throw PaymentError(QStringLiteral("O código Pix não coube num QR code."));
    const int modules = code->width;
    const int side = (modules + 2 * quiet) * scale;
    QImage img(side, side, QImage::Format_Grayscale8);
    img.fill(255);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            if (!(code->data[y * modules + x] & 1)) continue;
            for (int dy = 0; dy < scale; ++dy) {
                uchar* line = img.scanLine((y + quiet) * scale + dy) + qsizetype(x + quiet) * scale;
                std::fill(line, line + scale, uchar(0));
            }
        }
    }
    return img;
}

} // namespace PixQr
