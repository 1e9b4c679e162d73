#pragma once
// What bounds a printable page: its width and height in the scale units of the object
// the header is drawn on (the main window's client area in twips on screen).
class PageFrame {
public:
    virtual ~PageFrame() = default;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
};
