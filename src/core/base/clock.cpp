#include "clock.h"

namespace Clock {

namespace {
QDateTime& fixedMoment() {
    static QDateTime moment;
    return moment;
}
} // namespace

QDateTime now() {
    return fixedMoment().isValid() ? fixedMoment() : QDateTime::currentDateTime();
}

void setFixed(const QDateTime& moment) {
    fixedMoment() = moment;
}

QString dateText(const QDateTime& moment) {
    return moment.toString(QStringLiteral("dd/MM/yyyy"));
}

QString timeText(const QDateTime& moment) {
    return moment.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace Clock
