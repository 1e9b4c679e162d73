#include "SectionInput.h"
#include "calc/Geometry.h"
#include "calc/SingleMath.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/ErrorGuard.h"

namespace {

// One per-side list of E3, E4 or E5: its running number, what the input-error box
// calls it, and the columns read into the side's arrays.
struct InputList {
    clsDATEN& view;
    const char* index;
    const char* group;
    std::vector<std::pair<const char*, std::vector<float> SectionSide::*>> columns;
};

const QString kK = QStringLiteral("K");

void readList(Guard& g, const Context& ctx, const InputList& list, int16_t K, SectionSide& side, float progress)
{
    int16_t MINI = 0, MAXI = 0, AN = 0;
    const QString index = QLatin1String(list.index);
    g.step([&] { list.view.INDEX(MINI, MAXI, AN, kK, Variant(K), index); });
    if (AN == 0) {
        ctx.dlg().MsgBox(QStringLiteral("Überprüfen Sie die Eingabedaten %1 auf der %2 Seite!")
                             .arg(QString::fromUtf8(list.group),
                                  K == LeftSide ? QStringLiteral("linken") : QStringLiteral("rechten")),
                         MsgButtons::OK, MsgIcon::None, QStringLiteral("Eingabefehler"));
        throw Guard::Leave{};
    }
    for (const auto& [column, array] : list.columns) {
        std::vector<float>& values = side.*array;
        g.step([&] {
            // The running numbers reach from 0 to the highest; gaps stay 0.
            if (MAXI < 0)
                throw VbError(VbErr::Subscript);
            values.assign(std::size_t(MAXI) + 1, 0.0f);
        });
        g.step([&] { list.view.DTVSF(QLatin1String(column), values, kK, Variant(K), index); });
    }
    g.step([&] { ctx.progress(progress); });
}

} // namespace

void ReadSectionInput(Guard& g, const Context& ctx, clsDATEN& E2, clsDATEN& E3, clsDATEN& E4, clsDATEN& E5,
                      bool withPermeability, SectionInput& s)
{
    g.step([&] { E2.DTVS(QStringLiteral("ZGWLS"), s.ZGWLS); });
    g.step([&] { E2.DTVS(QStringLiteral("ZGWRS"), s.ZGWRS); });
    g.step([&] { ctx.progress(15); });
    InputList layers{E3, "I1", "der Schichten", {{"Z", &SectionSide::ZS}}};
    if (withPermeability)
        layers.columns.push_back({"KF", &SectionSide::KFS});
    const InputList lists[] = {
        layers,
        {E4, "I2", "der Stromlinie", {{"Z", &SectionSide::ZST}, {"X", &SectionSide::XST}}},
        {E5, "I3", "des Bauwerkes", {{"Z", &SectionSide::ZB}, {"X", &SectionSide::XB}}},
    };
    float progress = 15;
    for (const InputList& list : lists)
        for (SectionSide* side : {&s.L, &s.R})
            readList(g, ctx, list, side == &s.L ? LeftSide : RightSide, *side, progress += 8);
    std::vector<float> x;
    g.step([&] { INTERPOLIEREN({s.ZGWLS}, x, s.L.ZB, s.L.XB); s.XGWLS = Element(x, 0); });
    g.step([&] { INTERPOLIEREN({s.ZGWRS}, x, s.R.ZB, s.R.XB); s.XGWRS = Element(x, 0); });
    g.step([&] { INTERPOLIEREN(s.L.ZS, s.L.XS, s.L.ZB, s.L.XB); });
    g.step([&] { INTERPOLIEREN(s.R.ZS, s.R.XS, s.R.ZB, s.R.XB); });
    g.step([&] { ctx.progress(68); });
}
