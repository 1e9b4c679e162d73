#pragma once
// The header and footer of one printable page: title, the designations of the records
// shown, comment, project and page number at the top; editor, date and time and two
// credit lines at the bottom, inside four margins. Texts only, no lines. Drawn on the
// page form (bounded by the main window's client area) or on the printer page.
// Properties follow the runtime's convention: Name() gets, Name(value) lets.
#include "PageFrame.h"
#include "draw/DrawSettings.h"
#include "platform/OutputObject.h"
#include "platform/Variant.h"
#include <QString>
#include <cstdint>
#include <vector>

struct Context;

class clsKOPFFUSS {
public:
    explicit clsKOPFFUSS(Context& ctx);

    // The object drawn on and the frame whose ScaleWidth and ScaleHeight bound the page;
    // measures the object, sets all margins to 15 mm and the font to Arial 8 black.
    void AUSGABEOBJEKT(const PageFrame& RAHMENOBJEKT, OutputObject& EOBJEKT);
    // The printer page, which is its own frame.
    void AUSGABEOBJEKT(OutputObject& EOBJEKT);

    QString BEARBEITER() const { return BEARBEITER_; }
    void BEARBEITER(const QString& value) { BEARBEITER_ = value; }
    QString COPYRIGHT() const { return COPYRIGHT_; }
    void COPYRIGHT(const QString& value) { COPYRIGHT_ = value; }
    // Draw the page number.
    bool EBOKFS() const { return EBOKFS_; }
    void EBOKFS(bool value) { EBOKFS_ = value; }
    // The designations of the records shown: a list, or a single one.
    void KENNZEICHNUNG(const std::vector<Variant>& list);
    void KENNZEICHNUNG(const Variant& single);
    VbDate DATUM() const { return DATUM_; }
    void DATUM(VbDate value) { DATUM_ = value; }
    QString KOMMENTAR() const { return KOMMENTAR_; }
    void KOMMENTAR(const QString& value) { KOMMENTAR_ = value; }
    QString UEBERSCHRIFT() const { return UEBERSCHRIFT_; }
    void UEBERSCHRIFT(const QString& value) { UEBERSCHRIFT_ = value; }
    QString PROGRAMMIERER() const { return PROGRAMMIERER_; }
    void PROGRAMMIERER(const QString& value) { PROGRAMMIERER_ = value; }
    QString PROJEKT() const { return PROJEKT_; }
    void PROJEKT(const QString& value) { PROJEKT_ = value; }
    // A margin in mm: "oben", "unten", "links" or "rechts"; any other LAGE sets all four.
    void RANDABSTAND(const QString& LAGE, float RANDABSTAND);
    int16_t SEITE() const { return SEITE_; }
    void SEITE(int16_t value) { SEITE_ = value; }
    int16_t SEITENANZAHL() const { return SEITENANZAHL_; }
    void SEITENANZAHL(int16_t SEITEN) { SEITENANZAHL_ = SEITEN; }
    // 1 English texts, 3 German; any other value draws the language's texts empty.
    int16_t SPRACHE() const { return SPRACHE_; }
    void SPRACHE(int16_t value) { SPRACHE_ = value; }
    VbDate UHRZEIT() const { return UHRZEIT_; }
    void UHRZEIT(VbDate value) { UHRZEIT_ = value; }

    // Draws header and footer; the object's font ends as Arial 7 black.
    void KOPFFUSSZEILE();

private:
    OutputObject& obj() const;   // error 91 before AUSGABEOBJEKT
    void measure(OutputObject& object);
    void fontSettings(int16_t size, bool bold);
    void TEXT(double x, double y, const QString& text, int ah, int av);
    // The German or the English text, by SPRACHE; empty in any other language.
    QString language(const QString& german, const QString& english) const;

    Context& ctx_;
    OutputObject* EOBJEKT_ = nullptr;
    const PageFrame* frame_ = nullptr;   // none: the object is its own frame
    FontSet fonts_;
    bool EBOKFS_ = true;
    int16_t SEITE_ = 1, SEITENANZAHL_ = 1, SPRACHE_ = 3;
    double mmPerUnitX_ = 0, mmPerUnitY_ = 0;
    double top_ = 0, bottom_ = 0, left_ = 0, right_ = 0;   // margins in the object's units
    VbDate DATUM_, UHRZEIT_;
    QString BEARBEITER_, COPYRIGHT_;
    QString label_ = QStringLiteral("Datensatz ");
    std::vector<QString> designations_{QString()};
    QString KOMMENTAR_;
    QString PROJEKT_ = QStringLiteral("TE0000.00");
    QString PROGRAMMIERER_, UEBERSCHRIFT_;
};
