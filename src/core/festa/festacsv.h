#pragma once

#include "core/festa/festapanelstore.h"

#include <QByteArray>
#include <QList>

// The festa's spreadsheet files, made like the desk's history files (HistoryCsv).
namespace FestaCsv {

// The closed tills of every desk of a festa, as the treasurer's panel reads them from the server.
QByteArray tillList(const QList<FestaPanelStore::ClosedTill>& tills);

} // namespace FestaCsv
