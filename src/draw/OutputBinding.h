#pragma once
// What binds a drawing class to its output object (a page's picture box or the printer
// page): the object with its pixels per unit, measured when it is set, the font set,
// where the drawing lies on the object, and the pen and font settings. The diagram and
// the table classes derive from it; each names the error boxes of its settings in its
// own words. Properties follow the runtime's convention: Name() gets, Name(value) lets.
#include "DrawSettings.h"
#include "platform/OutputObject.h"
#include <QString>
#include <cstdint>

struct Context;

class OutputBinding {
public:
    OutputBinding(const OutputBinding&) = delete;
    OutputBinding& operator=(const OutputBinding&) = delete;

    // The output object; setting one measures it, where the class measures objects of
    // its kind, and gives it the default font settings (Arial 8, black) and the font set.
    OutputObject* EOBJEKT() const { return EOBJEKT_; }
    void EOBJEKT(OutputObject* object);

    // Where the drawing lies on the output object: its left and top edge (mm).
    float EXDL() const { return EXDL_; }
    void EXDL(float value) { EXDL_ = value; }
    float EYDO() const { return EYDO_; }
    void EYDO(float value) { EYDO_ = value; }

    // Pen: style, width in mm (0: one pixel) and colour (0: black). The variant on
    // variables writes the width in pixels and the colour back.
    void LINIENEINSTELLUNGEN(int16_t& LINIENART, float& LINIENBREITE, int32_t& FARBE);
    void LINIENEINSTELLUNGEN(const int16_t& LINIENART = 0, const float& LINIENBREITE = 0.0f,
                             const int32_t& FARBE = 0);
    // Font of the output object ("Arial" and 8 points when not given; colour 0 or less
    // black) and the font set built from it.
    void SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART = QString(), int16_t SCHRIFTGROESSE = 0,
                              bool FETT = false, bool UNTERSTRICHEN = false, bool KURSIV = false,
                              int32_t FARBE = 0);

    // Pixels per unit of the output object, measured when it was set.
    float pixelsPerUnit() const { return pxPerUnit_; }
    // Fonts 0 to 5 of the font set.
    const FontSet& fontSet() const { return fonts_; }

protected:
    // The objects measured when set: only picture boxes and the printer, or every one.
    enum class Measured { PageSurfaces, Every };
    // errorWord begins the settings' error boxes ("VB-Fehler", "VB-Error").
    OutputBinding(Context& ctx, const QString& errorWord, Measured measured);
    virtual ~OutputBinding() = default;
    // After an object was measured, before its font settings.
    virtual void onMeasured(OutputObject&) {}
    OutputObject& obj() const;   // error 91 without an output object

    Context& ctx_;
    OutputObject* EOBJEKT_ = nullptr;
    float EXDL_ = 0, EYDO_ = 0;
    float pxPerUnit_ = 0;
    FontSet fonts_;

private:
    QString errorWord_;
    Measured measured_;
};
