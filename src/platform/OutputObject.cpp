#include "OutputObject.h"
#include "SymbolFont.h"
#include "VbError.h"
#include <cmath>
#include <numbers>

double OutputObject::unitsPerInch(int mode) const
{
    switch (mode) {
    case ScaleModes::Twips: return 1440.0;
    case ScaleModes::Pixels: return 0.0;   // one unit per pixel, whatever the resolution
    case ScaleModes::Millimetres: return 25.4;
    default: throw VbError(VbErr::InvalidProperty);
    }
}

void OutputObject::setScaleMode(int mode)
{
    if (mode == ScaleModes::User) {
        // Keeps the present extent as a user scale.
        userWidth_ = ScaleWidth();
        userHeight_ = ScaleHeight();
        scaleMode_ = mode;
        return;
    }
    unitsPerInch(mode);   // refuses modes the surface does not know
    scaleMode_ = mode;
    scaleLeft_ = 0.0;
    scaleTop_ = 0.0;
}

void OutputObject::Scale(double left, double top, double right, double bottom)
{
    if (right == left || bottom == top)
        throw VbError(VbErr::InvalidCall);
    scaleMode_ = ScaleModes::User;
    scaleLeft_ = left;
    scaleTop_ = top;
    userWidth_ = right - left;
    userHeight_ = bottom - top;
}

double OutputObject::pixelsPerUnitX() const
{
    if (scaleMode_ == ScaleModes::User)
        return devicePixels().width() / userWidth_;
    if (scaleMode_ == ScaleModes::Pixels)
        return 1.0;
    return dpiX() / unitsPerInch(scaleMode_);
}

double OutputObject::pixelsPerUnitY() const
{
    if (scaleMode_ == ScaleModes::User)
        return devicePixels().height() / userHeight_;
    if (scaleMode_ == ScaleModes::Pixels)
        return 1.0;
    return dpiY() / unitsPerInch(scaleMode_);
}

double OutputObject::ScaleWidth() const
{
    return scaleMode_ == ScaleModes::User ? userWidth_ : devicePixels().width() / pixelsPerUnitX();
}

double OutputObject::ScaleHeight() const
{
    return scaleMode_ == ScaleModes::User ? userHeight_ : devicePixels().height() / pixelsPerUnitY();
}

QPointF OutputObject::toDevice(double x, double y) const
{
    return {(x - scaleLeft_) * pixelsPerUnitX(), (y - scaleTop_) * pixelsPerUnitY()};
}

QPointF OutputObject::fromDevice(QPointF px) const
{
    return {px.x() / pixelsPerUnitX() + scaleLeft_, px.y() / pixelsPerUnitY() + scaleTop_};
}

void OutputObject::setDrawWidth(float pixels)
{
    if (!(pixels >= 0.0f && pixels <= 32767.0f))
        throw VbError(VbErr::InvalidProperty);
    drawWidth_ = pixels;
}

QString OutputObject::shownText(const QString& s) const
{
    return IsSymbolFace(font_.Name) ? SymbolToUnicode(s) : s;
}

double OutputObject::TextWidth(const QString& s) const
{
    return measureWidth(shownText(s)) / pixelsPerUnitX();
}

double OutputObject::TextHeight(const QString& s) const
{
    return measureHeight(shownText(s)) / pixelsPerUnitY();
}

void OutputObject::Print(const QString& s)
{
    renderText(toDevice(currentX_, currentY_), shownText(s));
    currentX_ += TextWidth(s);
}

void OutputObject::Line(int flags, double x1, double y1, double x2, double y2, int32_t colour)
{
    const int32_t c = (flags & LineFlags::Colour) ? colour : foreColor_;
    const QPointF p1 = (flags & LineFlags::FirstPoint) ? QPointF(x1, y1) : QPointF(currentX_, currentY_);
    const QPointF p2 = (flags & LineFlags::Step) ? p1 + QPointF(x2, y2) : QPointF(x2, y2);
    const QPointF d1 = toDevice(p1.x(), p1.y());
    const QPointF d2 = toDevice(p2.x(), p2.y());
    if (flags & (LineFlags::Box | LineFlags::FilledBox))
        renderBox(QRectF(d1, d2).normalized(), (flags & LineFlags::FilledBox) != 0, c);
    else
        renderLine(d1, d2, c);
    currentX_ = p2.x();
    currentY_ = p2.y();
}

void OutputObject::Circle(int flags, double x, double y, double radius, int32_t colour,
                          double start, double end)
{
    const int32_t c = (flags & CircleFlags::Colour) ? colour : foreColor_;
    const bool arc = (flags & (CircleFlags::Start | CircleFlags::End)) != 0;
    const double full = 2.0 * std::numbers::pi;
    std::optional<double> a1, a2;
    if (arc) {
        a1 = (flags & CircleFlags::Start) ? start : 0.0;
        a2 = (flags & CircleFlags::End) ? end : full;
        // Angles a little beyond 2pi by Single rounding are still accepted.
        const double limit = full + 1e-6;
        if (std::fabs(*a1) > limit || std::fabs(*a2) > limit)
            throw VbError(VbErr::InvalidCall);
        // A negative angle marks a radius line in the runtime; no caller asks for one.
        a1 = std::fabs(*a1);
        a2 = std::fabs(*a2);
        if (*a1 == *a2)
            return;
    }
    currentX_ = x;
    currentY_ = y;
    renderCircle(toDevice(x, y), radius * pixelsPerUnitX(), c, a1, a2);
}

void OutputObject::PSet(double x, double y)
{
    renderPoint(toDevice(x, y));
    currentX_ = x;
    currentY_ = y;
}

void OutputObject::TextOutRotated(int px, int py, const QString& s, double angleDeg, int cellHeightPx)
{
    renderRotatedText(QPointF(px, py), shownText(s), angleDeg, cellHeightPx);
}

void OutputObject::Cls()
{
    renderClear();
    currentX_ = 0.0;
    currentY_ = 0.0;
}

OutputObject& Required(OutputObject* object)
{
    if (!object)
        throw VbError(VbErr::ObjectNotSet);
    return *object;
}

ScaleMeasure MeasureScale(OutputObject& object, int measureMode)
{
    ScaleMeasure m;
    const int mode = object.ScaleMode();
    m.left = object.ScaleLeft();
    m.top = object.ScaleTop();
    const double right = m.left + object.ScaleWidth();
    const double bottom = m.top + object.ScaleHeight();
    object.setScaleMode(measureMode);
    const double pxWidth = object.ScaleWidth();
    const double pxHeight = object.ScaleHeight();
    if (mode != ScaleModes::User)
        object.setScaleMode(mode);
    else
        object.Scale(m.left, m.top, right, bottom);
    m.pixelsPerUnitX = CheckedDiv(pxWidth, right - m.left);
    m.pixelsPerUnitY = CheckedDiv(pxHeight, bottom - m.top);
    return m;
}

SavedDrawingState::SavedDrawingState(OutputObject* object) : object_(object)
{
    if (!object_)
        return;
    drawStyle_ = object_->DrawStyle();
    drawMode_ = object_->DrawMode();
    drawWidth_ = object_->DrawWidth();
    foreColor_ = object_->ForeColor();
    font_ = object_->Font();
}

SavedDrawingState::~SavedDrawingState()
{
    if (!object_)
        return;
    object_->setDrawStyle(drawStyle_);
    object_->setDrawMode(drawMode_);
    object_->setDrawWidth(drawWidth_);   // a width it had is in range: no error here
    object_->setForeColor(foreColor_);
    object_->setFont(font_);
}
