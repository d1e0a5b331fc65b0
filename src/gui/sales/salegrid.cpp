#include "salegrid.h"

#include "gui/sales/salelinesmodel.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Each cell is its text centred on the grid's background: nothing to select, edit or decorate, and a
// fraction of what the general item painting costs on every key press.
class CellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->fillRect(option.rect, option.palette.base());
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(option.rect, Qt::AlignCenter, index.data().toString());
    }
};
} // namespace

SaleGrid::SaleGrid(QWidget* parent, const TillModel& till) : QTableView(parent) {
    setObjectName(QStringLiteral("DBGrid2"));
    setModel(new SaleLinesModel(this, till));
    setItemDelegate(new CellPainter(this));
    // A header of our own, made now, so its row count reaches this class's rowCountChanged.
    setVerticalHeader(new QHeaderView(Qt::Vertical, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    // Scrolled by pixels: the offset follows the scroll bar alone, so the lines moved by a scroll land
    // exactly where a whole repaint would draw them.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(SaleLinesModel::Code, 90);
    setColumnWidth(SaleLinesModel::Product, 300);
    setColumnWidth(SaleLinesModel::Price, 120);
}

void SaleGrid::rowCountChanged(int oldCount, int newCount) {
    if (newCount != oldCount + 1 || !isVisible()) {
        QTableView::rowCountChanged(oldCount, newCount);
        return;
    }
    updateGeometries();
    const int row = newCount - 1;
    const QRect line(0, rowViewportPosition(row), viewport()->width(), rowHeight(row) + 1);
    if (!viewport()->rect().contains(line)) {
        // Below the fold: the grid scrolls by pixels to the bottom, so the lines already painted move
        // up as they are and only the new line is painted.
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row) + 1));
        return;
    }
    viewport()->update(line);
}
