#pragma once
// A scroll bar handed to a diagram for panning or to a table for paging: the members
// those classes set and read. Position and size are in the output object's scale units.
class ScrollBarControl {
public:
    virtual ~ScrollBarControl() = default;
    virtual int Value() const = 0;
    virtual void setValue(int value) = 0;
    // The bar's own flag, also while its window is hidden.
    virtual bool Visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setGeometry(double left, double top, double width, double height) = 0;
    virtual double Height() const = 0;
    virtual int Min() const = 0;
    virtual void setMin(int value) = 0;
    virtual int Max() const = 0;
    virtual void setMax(int value) = 0;
    virtual int LargeChange() const = 0;
    virtual void setLargeChange(int value) = 0;
    virtual void setSmallChange(int value) = 0;
};
