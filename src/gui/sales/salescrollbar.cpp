#include "salescrollbar.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cstdlib>

SaleScrollBar::SaleScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setAutoFillBackground(true);
}

void SaleScrollBar::sliderChange(SliderChange change) {
    if (change == SliderOrientationChange || !isVisible()) {
        m_handle = QRect();
        QScrollBar::sliderChange(change);
        return;
    }
    if (!m_held) followHandle();
}

void SaleScrollBar::hold() {
    m_held = true;
}

void SaleScrollBar::release() {
    m_held = false;
    if (isVisible()) followHandle();
}

void SaleScrollBar::followHandle() {
    const QRect handle = handleRect();
    if (!m_handle.isValid()) {
        update();
    } else {
        // Along its length the handle looks the same: what changes is an end that moved, from where it
        // was to where it is now (at the bottom of the sale, only the top end moves).
        const auto end = [this](int from, int to) {
            update(
                QRect(0, std::min(from, to) - endMargin, width(), std::abs(to - from) + 2 * endMargin + 1));
        };
        if (handle.top() != m_handle.top() || handle.left() != m_handle.left())
            end(m_handle.top(), handle.top());
        if (handle.bottom() != m_handle.bottom()) end(m_handle.bottom(), handle.bottom());
    }
    m_handle = handle;
}

void SaleScrollBar::paintEvent(QPaintEvent* event) {
    m_handle = handleRect();
    // The mouse on the bar changes its look, which only the bar's own painting knows.
    if (event->rect() == rect() || underMouse() || isSliderDown() ||
        QApplication::mouseButtons() != Qt::NoButton) {
        QScrollBar::paintEvent(event);
        return;
    }
    // Each band of the bar is painted on a pixmap of the band's size, where the style's lines along the
    // whole bar stop at the pixmap's edge instead of being followed pixel by pixel outside the band.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    const qreal ratio = devicePixelRatioF();
    QPainter onScreen(this);
    for (const QRect& band : event->region()) {
        QPixmap pixmap(band.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(palette().color(backgroundRole()));
        {
            QPainter painter(&pixmap);
            painter.translate(-band.topLeft());
            style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
        }
        onScreen.drawPixmap(band.topLeft(), pixmap);
    }
}

QRect SaleScrollBar::handleRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}
