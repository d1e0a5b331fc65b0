#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QTableWidget;
class QWidget;

// The panel's read-only tables: whole rows selected, arrows inside and Tab out, refreshed in place so
// the row chosen and the scrolling stay where they were while the figures change under them.
namespace FestaTable {

QTableWidget* make(QWidget* parent, const QString& objectName, const QStringList& headings);

enum class Align { Left, Right, Center };

struct Look {
    Align align = Align::Left;
    QColor foreground; // invalid: the table's own
    QColor background;
    bool bold = false;
    QString toolTip;
};

// Writes one cell, reusing the item already there.
void set(QTableWidget* table, int row, int column, const QString& text, const Look& look = Look());
inline void setNumber(QTableWidget* table, int row, int column, const QString& text, Look look = Look()) {
    look.align = Align::Right;
    set(table, row, column, text, look);
}

// The colours the panel marks with.
inline const QColor alarm{0xb0, 0x00, 0x00};
inline const QColor alarmBackground{0xff, 0xe4, 0xe1};

} // namespace FestaTable
