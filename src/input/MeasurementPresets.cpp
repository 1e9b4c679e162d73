#include "MeasurementPresets.h"

#include "data/clsDATEN.h"
#include "platform/App.h"

#include <algorithm>
#include <memory>

namespace {

std::shared_ptr<clsDATEN> presetsView(Context& ctx, const QString& ending)
{
    auto view = std::make_shared<clsDATEN>(ctx);
    view->EBOV(true);
    view->ETABELLE(App::Title() + ending);
    return view;
}

} // namespace

ImportLayout ReadImportLayout(Context& ctx, const QString& AKVK)
{
    ImportLayout layout;
    auto view = presetsView(ctx, QStringLiteral("_VE1"));
    // The key reaches the statement only as a quoted text with its quotes doubled.
    view->ESPID(QString());
    view->ESPK1(QStringLiteral("AKVK"));
    view->ESPK1W(AKVK);
    view->DTVL(QStringLiteral("IDK"), layout.IDK);
    view->ESPK1(QString());
    view->ESPID(QStringLiteral("IDK"));
    view->ESPIDW(layout.IDK);
    view->DTVI(QStringLiteral("ZL"), layout.ZL);
    view->DTVT(QStringLiteral("DATUM"), layout.DATUM);
    view->DTVT(QStringLiteral("UHRZEIT"), layout.UHRZEIT);
    view->DTVT(QStringLiteral("KENZ1NR"), layout.KENZ1NR);
    view->DTVT(QStringLiteral("KENZ1KZ"), layout.KENZ1KZ);
    view->DTVT(QStringLiteral("TZS"), layout.TZS);
    view->DTVT(QStringLiteral("TZZ"), layout.TZZ);
    layout.TZS = SeparatorOf(layout.TZS);
    layout.TZZ = SeparatorOf(layout.TZZ);
    return layout;
}

bool ReadImportValues(Context& ctx, int32_t IDK, ImportPlan& plan)
{
    auto view = presetsView(ctx, QStringLiteral("_VE2"));
    view->ESPID(QStringLiteral("IDK"));
    view->ESPIDW(IDK);
    const QString MNR = QStringLiteral("MNR");
    int16_t first = 0, last = 0, n = 0;
    view->INDEX(first, last, n, MNR);
    plan.n = n;
    plan.values.assign(size_t(std::max<int>(n, last + 1)), ImportValue());
    plan.columns.assign(plan.values.size(), 0);
    // Values are numbered from 0; a number below 0 can never be placed.
    for (int m = std::max<int>(first, 0); m <= last; ++m) {
        ImportValue& v = plan.values[size_t(m)];
        const Variant mnr{int16_t(m)};
        Variant position;
        QString format;   // read with its row; the column formats apply at the refresh
        if (!(view->DTVT(QStringLiteral("SPALTE"), v.SPALTE, MNR, mnr)
              && view->DTVT(QStringLiteral("PRAEFIX"), v.PRAEFIX, MNR, mnr)
              && view->DTVT(QStringLiteral("SUFFIX"), v.SUFFIX, MNR, mnr)
              && view->DTVT(QStringLiteral("FORMAT"), format, MNR, mnr)
              && view->DTVV(QStringLiteral("POSITION"), position, MNR, mnr)
              && view->DTVS(QStringLiteral("FAKTOR"), v.FAKTOR, MNR, mnr)))
            return false;
        if (!position.isEmpty() && !position.isNull())
            v.POSITION = CDbl(position);
    }
    return true;
}
