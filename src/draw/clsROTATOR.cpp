#include "clsROTATOR.h"
#include "platform/OutputObject.h"
#include "platform/Variant.h"
#include "platform/VbError.h"

void clsROTATOR::Device(OutputObject& device)
{
    device_ = &device;
    const ScaleMeasure m = MeasureScale(device);
    left_ = m.left;
    top_ = m.top;
    pxPerUnitX_ = m.pixelsPerUnitX;
    pxPerUnitY_ = m.pixelsPerUnitY;
}

int32_t clsROTATOR::CellHeight(double pixelsPerInch, float sizePt)
{
    const int32_t height = CLng(Variant(pixelsPerInch * double(sizePt))) / 72;
    return CLng(Variant(double(height) * 1.175));
}

void clsROTATOR::Label(QString& sText)
{
    if (!device_)
        throw VbError(VbErr::ObjectNotSet);
    // The face name goes into a buffer of 32 characters and its terminator.
    if (device_->FontName().toLatin1().size() > 32)
        throw VbError(VbErr::Subscript);
    const int32_t height = CellHeight(device_->pixelsPerInchY(), device_->FontSize());
    const int32_t px = CLng(Variant((device_->CurrentX() - left_) * pxPerUnitX_));
    const int32_t py = CLng(Variant((device_->CurrentY() - top_) * pxPerUnitY_));
    device_->TextOutRotated(px, py, sText, double(angle_), height);
}
