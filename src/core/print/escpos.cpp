#include "escpos.h"

#include "report.h"
#include "rolllayout.h"

#include <QIODevice>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr char ESC = 0x1b, GS = 0x1d, DLE = 0x10, EOT = 0x04;

// Rows per raster command: small enough for the receive buffer of any printer, and the row count's high
// byte stays 0, so a command header never reads as a real-time request.
constexpr int blockRows = 128;
constexpr int maxCachedPages = 64;

QByteArray bytes(std::initializer_list<char> b) {
    return QByteArray(b.begin(), qsizetype(b.size()));
}

// The printer acts on real-time commands (DLE EOT, DLE ENQ, DLE DC4: status, recovery, even the drawer
// pulse or power off) wherever they come, graphics data included. A data byte 0x10 followed by the second
// byte of one of them loses its one dot, so the raster never carries such a command.
void defuseRealTimeCommands(QByteArray& bits) {
    for (qsizetype i = 0; i + 1 < bits.size(); ++i) {
        const char next = bits[i + 1];
        if (bits[i] == DLE && (next == 0x04 || next == 0x05 || next == 0x14)) bits[i] = 0;
    }
}

// A page painted for one roll width is painted again only when it shows something else.
QByteArray pageKey(const Report& report, int paperMm) {
    return QByteArray::number(paperMm) + ':' + report.pageKey();
}

// The page painted onto white, `dots` wide: scaled so that its width fits (never beyond its real size at
// 8 dots/mm) and centred.
QImage paintOnto(const Report& report, int dots) {
    const QSizeF mm = report.pageSizeMm();
    const double dpm =
        mm.width() > 0 ? std::min(double(EscPos::dotsPerMm), dots / mm.width()) : EscPos::dotsPerMm;
    QImage image(dots, std::max(1, qCeil(mm.height() * dpm)), QImage::Format_RGB32);
    // Text takes its size in points from the image's resolution.
    image.setDotsPerMeterX(qRound(dpm * 1000));
    image.setDotsPerMeterY(qRound(dpm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate((dots - mm.width() * dpm) / 2, 0);
    report.paint(painter, dpm);
    return image;
}

} // namespace

namespace EscPos {

int printableDots(int paperMm) {
    return paperMm == 58 ? 384 : 576;
}

QByteArray initialize() {
    return bytes({ESC, '@'});
}

QByteArray feed(int dots) {
    return bytes({ESC, 'J', char(std::clamp(dots, 0, 255))});
}

QByteArray cut() {
    return bytes({GS, 'V', 66, 0});
}

QByteArray statusRequest() {
    return bytes({DLE, EOT, 1, DLE, EOT, 2, DLE, EOT, 4});
}

namespace {
QByteArray processId(int id) {
    return QByteArray::number(std::abs(id) % 10000).rightJustified(4, '0');
}
} // namespace

QByteArray processRequest(int id) {
    return bytes({GS, '(', 'H', 6, 0, 48, 48}) + processId(id);
}

QByteArray processAnswer(int id) {
    return bytes({0x37, 0x22}) + processId(id) + bytes({0});
}

std::optional<EscPosStatus> parseStatus(QByteArrayView answer) {
    if (answer.size() != statusAnswerSize) return std::nullopt;
    for (char c : answer)
        if ((uchar(c) & 0x93) != 0x12) return std::nullopt;
    const uchar printer = uchar(answer[0]), cause = uchar(answer[1]), roll = uchar(answer[2]);
    EscPosStatus s;
    s.offline = printer & 0x08;
    s.coverOpen = cause & 0x04;
    s.paperEndStop = cause & 0x20;
    s.error = cause & 0x40;
    s.paperNearEnd = roll & 0x0c;
    s.paperEnd = roll & 0x60;
    return s;
}

QImage paintPage(const Report& report, int paperMm) {
    const int dots = printableDots(paperMm);
    if (report.flowsOnRoll && report.pageSizeMm().width() * dotsPerMm > dots)
        return paintOnto(RollLayout::lay(report, double(dots) / dotsPerMm, dotsPerMm), dots);
    return paintOnto(report, dots);
}

QByteArray raster(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int widthBytes = (image.width() + 7) / 8;
    QByteArray bits(qsizetype(widthBytes) * std::max(1, image.height()), 0);
    int rows = 1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* out = bits.data() + qsizetype(y) * widthBytes;
        bool ink = false;
        for (int x = 0; x < image.width(); ++x)
            if (qGray(in[x]) < 128) {
                out[x >> 3] = char(out[x >> 3] | (0x80 >> (x & 7)));
                ink = true;
            }
        if (ink) rows = y + 1;
    }
    bits.truncate(qsizetype(rows) * widthBytes);
    defuseRealTimeCommands(bits);

    QByteArray out;
    out.reserve(bits.size() + qsizetype(rows / blockRows + 1) * 8);
    for (int top = 0; top < rows; top += blockRows) {
        const int n = std::min(blockRows, rows - top);
        out += bytes(
            {GS, 'v', '0', 0, char(widthBytes & 0xff), char(widthBytes >> 8), char(n & 0xff), char(n >> 8)});
        out += QByteArrayView(bits).sliced(qsizetype(top) * widthBytes, qsizetype(n) * widthBytes);
    }
    return out;
}

QByteArray PageCache::page(const Report& report, int paperMm) {
    const QByteArray key = pageKey(report, paperMm);
    auto found = m_pages.constFind(key);
    if (found != m_pages.constEnd()) return *found;
    if (m_pages.size() >= maxCachedPages) m_pages.clear();
    return *m_pages.insert(key, EscPos::page(report, paperMm));
}

} // namespace EscPos
