#pragma once

#include <QDateTime>
#include <QString>

// The one clock every timer, field and report of the system reads.
// Tests set a fixed moment; the program uses the machine's time.
namespace Clock {

QDateTime now();
void setFixed(const QDateTime& moment); // an invalid moment returns to the machine's time

// Brazilian short date and long time, whatever the machine's locale: 25/12/2009, 14:05:33.
QString dateText(const QDateTime& moment = now());
QString timeText(const QDateTime& moment = now());

} // namespace Clock
