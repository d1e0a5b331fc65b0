#pragma once

#include <QString>
#include <functional>

class QSettings;

// The settings files of this user's configuration (~/.config/quorvanta/<name>) that may hold passwords
// or addresses: readable by their owner only, from the moment they are made.
namespace OwnerSettings {

QString defaultPath(const QString& name);

// Writes the values `write` sets into the file, which exists with the owner's permissions before
// anything is written into it; false when the file could not be written.
bool write(const QString& path, const std::function<void(QSettings& file)>& write);

} // namespace OwnerSettings
