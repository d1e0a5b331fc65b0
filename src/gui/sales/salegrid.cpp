#include "salegrid.h"

#include "gui/sales/salelinesmodel.h"
#include "gui/sales/salescrollbar.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Each cell is its text centred on the grid's background: nothing to select, edit or decorate, and a
// fraction of what the general item painting costs on every key press.
class CellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        // the cell without its grid lines (right and bottom), which the grid paints
        const QRect cell = option.rect.adjusted(0, 0, -1, -1);
        painter->fillRect(cell, option.palette.base());
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        // A sale shows the same few texts again and again: each one is laid out once, and placed as
        // centred text is.
        const QString text = index.data().toString();
        auto found = m_texts.find(text);
        if (found == m_texts.end() || found->font != option.font) {
            if (m_texts.size() > 512) m_texts.clear();
            const QFontMetricsF metrics(option.font);
            found = m_texts.insert(
                text, {option.font, QStaticText(text), metrics.horizontalAdvance(text), metrics.height()});
            found->layout.setTextFormat(Qt::PlainText);
            found->layout.prepare(QTransform(), option.font);
        }
        if (found->width > cell.width() || found->height > cell.height()) {
            painter->drawText(cell, Qt::AlignCenter, text); // cut at the cell's edges
            return;
        }
        painter->drawStaticText(QPointF(cell.x() + (cell.width() - found->width) / 2,
                                        cell.y() + (cell.height() - found->height) / 2),
                                found->layout);
    }

private:
    struct Laid {
        QFont font;
        QStaticText layout;
        qreal width;
        qreal height;
    };
    mutable QHash<QString, Laid> m_texts;
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
    m_scrollBar = new SaleScrollBar(this);
    setVerticalScrollBar(m_scrollBar);
    setShowGrid(false); // painted by paintEvent, where the table's own lines cost more than the text
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
    // The range grows, then the value follows it: the bar paints the two as one change.
    m_scrollBar->hold();
    updateGeometries();
    const int row = newCount - 1;
    const QRect line(0, rowViewportPosition(row), viewport()->width(), rowHeight(row) + 1);
    if (!viewport()->rect().contains(line)) {
        // Below the fold: the grid scrolls by pixels to the bottom, so the lines already painted move
        // up as they are and only the new line is painted.
        m_scrollBar->setValue(m_scrollBar->maximum());
        viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row) + 1));
    } else {
        viewport()->update(line);
    }
    m_scrollBar->release();
}

void SaleGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const int rows = model()->rowCount();
    if (rows == 0) return;
    // The lines the table draws for its grid, at the right and bottom edge of every cell, down to the
    // last line, as plain fills.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor color =
        QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
    const QRect area = event->rect();
    const int bottom = std::min(area.bottom(), rowViewportPosition(rows - 1) + rowHeight(rows - 1) - 1);
    if (bottom < area.top()) return;
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    const int first = std::max(0, rowAt(area.top()));
    for (int row = first; row < rows && rowViewportPosition(row) <= bottom; ++row)
        painter.fillRect(QRect(area.left(), rowViewportPosition(row) + rowHeight(row) - 1, area.width(), 1),
                         color);
    for (int column = 0; column < model()->columnCount(); ++column) {
        const int x = columnViewportPosition(column) + columnWidth(column) - 1;
        if (x >= area.left() && x <= area.right())
            painter.fillRect(QRect(x, area.top(), 1, bottom - area.top() + 1), color);
    }
}
