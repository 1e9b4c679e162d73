#pragma once
// A picture area's vertical scroll bar: a Qt scroll bar whose place and size are set
// in the scale units of the area it belongs to (millimetres on the pages). Placing it
// and setting its range report no change; a new value does, and a drag reports once,
// when the user lets go (the runtime's Change event is valueChanged).
#include "OutputObject.h"
#include "ScrollBarControl.h"
#include <QScrollBar>
#include <QSignalBlocker>

class VScrollBar : public QScrollBar, public ScrollBarControl {
public:
    // scale: the object whose units place the bar; parent: the widget it shows in.
    VScrollBar(const OutputObject& scale, QWidget* parent);

    int Value() const override { return value(); }
    void setValue(int v) override { QScrollBar::setValue(v); }
    bool Visible() const override { return !isHidden(); }
    void setVisible(bool visible) override { QScrollBar::setVisible(visible); }
    void setGeometry(double left, double top, double width, double height) override;
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const override { return height_; }
    int Min() const override { return minimum(); }
    void setMin(int value) override;
    int Max() const override { return maximum(); }
    void setMax(int value) override;
    int LargeChange() const override { return pageStep(); }
    void setLargeChange(int value) override;
    void setSmallChange(int value) override;

private:
    // Runs f without reporting a change.
    template <class F>
    void quietly(F f)
    {
        const QSignalBlocker quiet(this);
        f();
    }

    const OutputObject& scale_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};
