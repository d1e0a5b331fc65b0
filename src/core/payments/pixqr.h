#pragma once

#include <QImage>
#include <QString>

// The Pix code drawn as a QR code: error correction level M, black modules on white with the quiet
// zone of 4 modules around them, each module `scale` pixels wide.
namespace PixQr {

// Raises PaymentError when the text does not fit a QR code or scale is below 1.
QImage image(const QString& payload, int scale = 6);

} // namespace PixQr
