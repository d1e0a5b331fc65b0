#include "productlistwidth.h"

#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <algorithm>

void fitProductList(QTableView* list, const QScreen* screen) {
    const QFontMetrics fm(list->font());
    const QAbstractItemModel* m = list->model();
    int widest = QFontMetrics(list->horizontalHeader()->font()).horizontalAdvance(QStringLiteral("Produto"));
    for (int row = 0; row < m->rowCount(); ++row)
        widest = std::max(widest, fm.horizontalAdvance(m->index(row, 1).data().toString()));
    const int frame = 2 * list->frameWidth();
    int width = list->columnWidth(0) + widest + 24 + frame;
    if (screen) width = std::min(width, screen->availableGeometry().width() / 3);
    list->setFixedWidth(width);
}
