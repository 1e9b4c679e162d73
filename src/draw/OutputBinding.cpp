#include "OutputBinding.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"

OutputBinding::OutputBinding(Context& ctx, const QString& errorWord, Measured measured)
    : ctx_(ctx), errorWord_(errorWord), measured_(measured)
{
}

OutputObject& OutputBinding::obj() const
{
    return Required(EOBJEKT_);
}

void OutputBinding::EOBJEKT(OutputObject* object)
{
    EOBJEKT_ = object;
    if (!object)
        return;
    if (measured_ == Measured::Every || object->kind() != SurfaceKind::Other) {
        pxPerUnit_ = float(MeasureScale(*object).pixelsPerUnitX);
        onMeasured(*object);
    }
    SCHRIFTEINSTELLUNGEN();
}

void OutputBinding::LINIENEINSTELLUNGEN(int16_t& LINIENART, float& LINIENBREITE, int32_t& FARBE)
{
    LineSettings(ctx_.dlg(), RoutineBox(QStringLiteral("Linieneinstellungen"), errorWord_ + QLatin1Char(' ')),
                 EOBJEKT_, pxPerUnit_, LINIENART, LINIENBREITE, FARBE);
}

void OutputBinding::LINIENEINSTELLUNGEN(const int16_t& LINIENART, const float& LINIENBREITE, const int32_t& FARBE)
{
    int16_t style = LINIENART;
    float width = LINIENBREITE;
    int32_t colour = FARBE;
    LINIENEINSTELLUNGEN(style, width, colour);
}

void OutputBinding::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                         bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE)
{
    FontSettings(ctx_.dlg(), RoutineBox(QStringLiteral("Schrifteinstellungen"), errorWord_ + QLatin1Char(':')),
                 EOBJEKT_, fonts_, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN, KURSIV, FARBE);
}
