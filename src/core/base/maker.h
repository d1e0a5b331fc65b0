#pragma once

#include <QString>

// Who makes the program, as the about window, the main window and the opening report credit it.
namespace Maker {
inline QString name() {
    return QStringLiteral("Equipe Quorvanta");
}
inline QString site() {
    return QStringLiteral("www.quorvanta.example.org");
}
} // namespace Maker
