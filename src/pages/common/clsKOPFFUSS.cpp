#include "clsKOPFFUSS.h"
#include "MarkupText.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/VbError.h"

clsKOPFFUSS::clsKOPFFUSS(Context& ctx) : ctx_(ctx) {}

OutputObject& clsKOPFFUSS::obj() const
{
    return Required(EOBJEKT_);
}

void clsKOPFFUSS::AUSGABEOBJEKT(const PageFrame& RAHMENOBJEKT, OutputObject& EOBJEKT)
{
    frame_ = &RAHMENOBJEKT;
    measure(EOBJEKT);
}

void clsKOPFFUSS::AUSGABEOBJEKT(OutputObject& EOBJEKT)
{
    frame_ = nullptr;
    measure(EOBJEKT);
}

void clsKOPFFUSS::measure(OutputObject& object)
{
    EOBJEKT_ = &object;
    const ScaleMeasure mm = MeasureScale(object, ScaleModes::Millimetres);
    mmPerUnitX_ = mm.pixelsPerUnitX;
    mmPerUnitY_ = mm.pixelsPerUnitY;
    RANDABSTAND(QString(), 15);
    fontSettings(0, false);
}

void clsKOPFFUSS::KENNZEICHNUNG(const std::vector<Variant>& list)
{
    designations_.clear();
    for (const Variant& v : list)
        designations_.push_back(CStr(v));
}

void clsKOPFFUSS::KENNZEICHNUNG(const Variant& single)
{
    designations_ = {CStr(single)};
}

void clsKOPFFUSS::RANDABSTAND(const QString& LAGE, float RANDABSTAND)
{
    const double x = CheckedDiv(RANDABSTAND, mmPerUnitX_);
    const double y = CheckedDiv(RANDABSTAND, mmPerUnitY_);
    if (LAGE == QLatin1String("oben"))
        top_ = y;
    else if (LAGE == QLatin1String("unten"))
        bottom_ = y;
    else if (LAGE == QLatin1String("links"))
        left_ = x;
    else if (LAGE == QLatin1String("rechts"))
        right_ = x;
    else {
        top_ = bottom_ = y;
        left_ = right_ = x;
    }
}

void clsKOPFFUSS::fontSettings(int16_t size, bool bold)
{
    FontSettings(ctx_.dlg(), RoutineBox(QStringLiteral("Schrifteinstellungen"), QStringLiteral("VB-Error:")), EOBJEKT_,
                 fonts_, QStringLiteral("Arial"), size, bold, false, false, 0);
}

void clsKOPFFUSS::TEXT(double x, double y, const QString& text, int ah, int av)
{
    MarkupText(ctx_.dlg(), obj(), fonts_, x, y, text, ah, av, MarkupTextRules{false, true});
}

QString clsKOPFFUSS::language(const QString& german, const QString& english) const
{
    return SPRACHE_ == 3 ? german : SPRACHE_ == 1 ? english : QString();
}

void clsKOPFFUSS::KOPFFUSSZEILE()
{
    Guarded(ctx_.dlg(), RoutineBox(QString::fromUtf8("Kopffuß-Zeile")), [&](Guard& g) {
        double W = 0, H = 0, nineMm = 0;
        g.step([&] {
            W = frame_ ? frame_->ScaleWidth() : obj().ScaleWidth();
            H = frame_ ? frame_->ScaleHeight() : obj().ScaleHeight();
            nineMm = CheckedDiv(9, mmPerUnitY_);
        });
        const bool one = designations_.size() == 1;
        g.step([&] {
            if (SPRACHE_ == 1)
                label_ = one ? QStringLiteral("File") : QStringLiteral("Files");
            else if (SPRACHE_ == 3)
                label_ = one ? QStringLiteral("Datensatz") : QString::fromUtf8("Datensätze");
        });
        // The designations that fit beside the label; the first one always, whole.
        QString line;
        g.step([&] { obj().setFontSize(10); });
        double available = 0;
        g.step([&] { available = W - left_ - right_ - obj().TextWidth(label_); });
        g.step([&] {
            line = designations_.front();
            for (std::size_t i = 1; i < designations_.size(); ++i) {
                const QString& d = designations_[i];
                if (obj().TextWidth(line + d + QLatin1Char(',')) > available) {
                    line += QStringLiteral(", ...");
                    break;
                }
                line += QStringLiteral(", ") + d;
            }
        });
        g.step([&] { fontSettings(16, true); });
        g.step([&] { TEXT(left_, top_, UEBERSCHRIFT_, 0, 0); });
        double T16 = 0, T10 = 0, T7 = 0;
        g.step([&] { T16 = obj().TextHeight(UEBERSCHRIFT_); });
        g.step([&] { fontSettings(10, false); });
        g.step([&] {
            if (!line.isEmpty())
                TEXT(left_, top_ + nineMm, label_ + QLatin1Char(' ') + line, 0, 0);
        });
        g.step([&] { T10 = obj().TextHeight(line); });
        g.step([&] {
            if (!KOMMENTAR_.isEmpty())
                TEXT(left_, top_ + nineMm + 1.5 * T10, KOMMENTAR_, 0, 0);
        });
        // Project and page number end at the right margin, level with the title's line.
        const QString project = language(QStringLiteral("Projekt ") + PROJEKT_, QStringLiteral("Project ") + PROJEKT_);
        const QString pages = CStr(Variant(SEITE_)) + QLatin1Char('/') + CStr(Variant(SEITENANZAHL_));
        double xP = 0, yP = 0;
        g.step([&] {
            xP = W - obj().TextWidth(project) - right_;
            yP = top_ + T16 - T10;
            TEXT(xP, yP, project, 0, 0);
        });
        g.step([&] {
            // Measured with the German word whatever the language.
            const double xS = xP - obj().TextWidth(QString(15, QLatin1Char(' ')) + QStringLiteral("Seite ") + pages);
            if (EBOKFS_)
                TEXT(xS, yP, language(QStringLiteral("Seite ") + pages, QStringLiteral("Page ") + pages), 0, 0);
        });
        g.step([&] { fontSettings(7, false); });
        const QString credit = language(QStringLiteral("Programmentwicklung: ") + PROGRAMMIERER_,
                                        QStringLiteral("Program developed by ") + PROGRAMMIERER_);
        double xR = 0, yF = 0;
        g.step([&] {
            xR = W - right_ - std::max(obj().TextWidth(COPYRIGHT_), obj().TextWidth(credit));
            yF = H - bottom_;
            T7 = obj().TextHeight(PROGRAMMIERER_);
        });
        g.step([&] { TEXT(xR, yF, credit, 0, 2); });
        g.step([&] { TEXT(xR, yF + T7, COPYRIGHT_, 0, 2); });
        // Date above time, on the middle between the side margins.
        const double xC = left_ + (W - left_ - right_) / 2;
        g.step([&] { TEXT(xC, yF, Format(Variant(DATUM_), QStringLiteral("Short Date")), 1, 2); });
        g.step([&] { TEXT(xC, yF + T7, Format(Variant(UHRZEIT_), QStringLiteral("hh:mm")), 1, 2); });
        g.step([&] {
            TEXT(left_, yF,
                 language(QStringLiteral("Bearbeiter: ") + BEARBEITER_, QStringLiteral("Project Manager: ") + BEARBEITER_),
                 0, 2);
        });
    });
}
