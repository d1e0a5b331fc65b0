#pragma once

#include <QScrollBar>

// The sale grid's scroll bar. A line appended moves and shortens its handle: only the end of the handle
// that moved is painted again, not the whole bar. It paints its own background, so nothing behind it
// (the group box's frame and title) is painted again with it.
class SaleScrollBar : public QScrollBar {
public:
    explicit SaleScrollBar(QWidget* parent);
    // Between the two, changes of range and value paint nothing; release() paints what they changed,
    // as one change.
    void hold();
    void release();

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect handleRect() const;
    void followHandle();
    bool m_held = false;
    static constexpr int endMargin = 4; // the rounded end of a handle and its outline
    QRect m_handle;                     // where the handle was last painted
};
