#pragma once
// Draws one string turned by an angle about the top-left corner of its cell, in the
// output object's current font at the current position. Setting Device measures the
// object (pixels per unit and its scale origin); Label uses those measurements.
// No member catches errors: they reach the caller.
#include <QString>
#include <cstdint>

class OutputObject;

class clsROTATOR {
public:
    void Device(OutputObject& device);
    int16_t Angle() const { return angle_; }
    void Angle(int16_t degrees) { angle_ = degrees; }
    void Label(QString& sText);

    // The cell height in pixels for a font size at a resolution (pixels per inch).
    static int32_t CellHeight(double pixelsPerInch, float sizePt);

private:
    OutputObject* device_ = nullptr;
    int16_t angle_ = 0;
    double left_ = 0.0, top_ = 0.0;
    double pxPerUnitX_ = 0.0, pxPerUnitY_ = 0.0;
};
