#include "TableLayout.h"
#include "platform/ErrorGuard.h"

void ApplyLayout(Guard& g, clsTABELLE& t, const TableLayout& l)
{
    g.step([&] { t.ERO(l.ERO); });
    g.step([&] { t.ERZ(l.ERZ); });
    g.step([&] { t.ERL(l.ERL); });
    g.step([&] { t.ERU(l.ERU); });
    g.step([&] { t.ELSB(l.ELSB); });
    g.step([&] { t.ELGIT(l.ELGIT); });
    g.step([&] { t.ELGITLEER(l.ELGITLEER); });
    g.step([&] { t.EZA(l.EZA); });
    g.step([&] { t.ELA(l.ELA); });
    g.step([&] { t.ELFORMAT(l.ELFORMAT); });
    g.step([&] { t.EZH(l.EZH); });
}
