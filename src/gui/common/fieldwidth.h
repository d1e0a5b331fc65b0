#pragma once

#include "core/db/database.h"
#include "gui/common/keyfilter.h"

#include <QLineEdit>

// The entry takes at most as many characters as the text column it is stored in.
inline void limitToColumn(QLineEdit* edit, const Database& db, const QString& table, const QString& column) {
    const ColumnInfo* c = db.column(table, column);
    KeyFilter::limitWidth(edit, c && c->type == ColumnInfo::Type::Text ? c->width : 0);
}
