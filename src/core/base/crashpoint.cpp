#include "crashpoint.h"

#include <QByteArray>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace CrashPoint {

namespace {

struct Target {
    QByteArray point;
    QByteArray what; // empty: any
    int remaining = 0;
};

Target& target() {
    static Target t = [] {
        Target t;
        QByteArray name = qgetenv("QUORVANTA_CRASH_AT");
        if (name.isEmpty()) return t;
        t.remaining = 1;
        if (const qsizetype at = name.indexOf('@'); at >= 0) {
            t.remaining = name.mid(at + 1).toInt();
            name.truncate(at);
        }
        const qsizetype slash = name.indexOf('/');
        t.point = slash < 0 ? name : name.left(slash);
        t.what = slash < 0 ? QByteArray() : name.mid(slash + 1);
        return t;
    }();
    return t;
}

} // namespace

void hit(const char* point, const char* what) {
    Target& t = target();
    if (t.remaining <= 0 || t.point != point || (!t.what.isEmpty() && t.what != what)) return;
    if (--t.remaining == 0) ::kill(::getpid(), SIGKILL);
}

} // namespace CrashPoint
