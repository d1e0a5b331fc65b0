#pragma once

// core/print: ESC/POS, the command language of receipt printers. A report's page becomes raster
// graphics across the printable width of the roll; the printer's real-time status is asked and read.
// Pure functions: no I/O.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QImage>
#include <optional>

class Report;

// What a printer answered to the real-time status requests DLE EOT 1, 2 and 4.
struct EscPosStatus {
    bool offline = false;
    bool coverOpen = false;
    bool paperEndStop = false; // printing stopped because the paper ran out
    bool error = false;
    bool paperNearEnd = false; // roll sensor: little paper left
    bool paperEnd = false;     // roll sensor: no paper
    friend bool operator==(const EscPosStatus&, const EscPosStatus&) = default;
};

namespace EscPos {

constexpr int dotsPerMm = 8;
// Dots across the printable width of a roll: 384 on 58 mm paper (48 mm printed), 576 on 80 mm (72 mm).
int printableDots(int paperMm);

QByteArray initialize();    // ESC @
QByteArray feed(int dots);  // ESC J: feeds the paper by that many dots (up to 255)
QByteArray cut();           // GS V 66 0: feeds the paper past the cutter and cuts it
QByteArray statusRequest(); // DLE EOT 1, DLE EOT 2, DLE EOT 4, answered with one byte each
constexpr int statusAnswerSize = 3;
// GS ( H fn 48: the printer answers once it has processed everything sent before it (the page printed
// and cut), unlike the real-time requests, which it answers as they arrive. `id` is kept to 4 digits.
QByteArray processRequest(int id);
QByteArray processAnswer(int id); // what the printer sends back for it
constexpr int processAnswerSize = 7;

// The printer's answer to statusRequest(); none when it is not three bytes with the fixed bits of a
// status byte (bits 1 and 4 set, 0 and 7 clear).
std::optional<EscPosStatus> parseStatus(QByteArrayView answer);

// The page painted onto white, as wide as the printable width of the roll: a page that flows on a roll
// (Report::flowsOnRoll) laid out again across it when the roll is narrower, any other scaled so that the
// page's width fits (never beyond its real size at 8 dots/mm) and centred.
QImage paintPage(const Report& report, int paperMm);
// An image as raster graphics (GS v 0): dots darker than mid-grey print black, the white rows below the
// last printed one are left out (at least one row remains).
QByteArray raster(const QImage& image);
inline QByteArray page(const Report& report, int paperMm) {
    return raster(paintPage(report, paperMm));
}

// The raster of each different page, painted once: a sale's tickets repeat, and so do sales.
class PageCache {
public:
    QByteArray page(const Report& report, int paperMm);
    int size() const { return int(m_pages.size()); }

private:
    QHash<QByteArray, QByteArray> m_pages;
};

} // namespace EscPos
