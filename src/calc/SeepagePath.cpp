#include "SeepagePath.h"
#include "Geometry.h"
#include "MaxTree.h"
#include "SingleMath.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Vec = std::vector<float>;

double Length(const Vec& X, const Vec& Z, std::size_t a, std::size_t b)
{
    return SegmentLength(X[a], Z[a], X[b], Z[b]);
}

// Appends a point, keeping the list within the Integer range.
void Append(Vec& Z, Vec& X, float z, float x)
{
    Z.push_back(z);
    X.push_back(x);
    CheckListSize(Z.size());
}

// First subdivision: the layer depths strictly inside each flow-line segment. The layer
// index runs once over all segments; a point below the deepest boundary followed by
// another point is a subscript error.
void SplitAtLayers(Vec& TZ, Vec& TX, const Vec& ZS, const Vec& ZST, const Vec& XST)
{
    const std::size_t NF = ZST.size() - 1;
    std::size_t j = 0;
    Append(TZ, TX, ZST[0], XST[0]);
    for (std::size_t i = 1; i <= NF; ++i) {
        for (;;) {
            CheckSubscript(static_cast<std::ptrdiff_t>(j), ZS.size());
            if (!(ZS[j] < ZST[i]))
                break;
            if (ZST[i - 1] < ZS[j])
                Append(TZ, TX, ZS[j], XAtDepth(XST[i - 1], ZST[i - 1], XST[i], ZST[i], ZS[j]));
            ++j;
            if (j >= ZS.size())
                break;
        }
        Append(TZ, TX, ZST[i], XST[i]);
    }
}

}

void SplitAtNodes(Vec& ZT, Vec& XT, const Vec& TZ, const Vec& TX, const Vec& ZB, const Vec& XB)
{
    // A piece meets the outline from its first node down to the node before the first
    // one that is not above the piece's lower end: with the deepest depth reached so far
    // at each node (no number as the deepest), that end is found by binary search.
    constexpr float bottom = std::numeric_limits<float>::infinity();
    Vec reached(ZB.size());
    for (std::size_t s = 0; s < ZB.size(); ++s)
        reached[s] = std::max(s > 0 ? reached[s - 1] : -bottom, std::isnan(ZB[s]) ? bottom : ZB[s]);
    // The nodes that may be inserted, by depth: not those ending a vertical stretch.
    MaxTree nodes(ZB.size());
    for (std::size_t s = 0; s < ZB.size(); ++s)
        if (s == 0 || XB[s] != XB[s - 1])
            nodes.set(s, ZB[s]);
    Append(ZT, XT, TZ[0], TX[0]);
    for (std::size_t i = 1; i < TZ.size(); ++i) {
        const std::size_t end = std::isnan(TZ[i]) ? 0
            : std::size_t(std::lower_bound(reached.begin(), reached.end(), TZ[i]) - reached.begin());
        for (std::size_t s = nodes.firstAbove(0, end, TZ[i - 1]); s != MaxTree::none;
             s = nodes.firstAbove(s + 1, end, TZ[i - 1]))
            Append(ZT, XT, ZB[s], XAtDepth(TX[i - 1], TZ[i - 1], TX[i], TZ[i], ZB[s]));
        Append(ZT, XT, TZ[i], TX[i]);
    }
}

float PermeabilitiesAndSum(Vec& KT, const Vec& ZT, const Vec& XT, const Vec& ZS, const Vec& KFS)
{
    // The last section holding each sub-segment. The pieces are taken by the depth of
    // their upper end, downward; a section joins once that depth reaches its upper
    // bound, and each piece asks for the last section joined whose lower bound lies at
    // or below its lower end.
    const std::size_t N = ZT.size() > 0 ? ZT.size() - 1 : 0;
    std::vector<std::size_t> pieces, sections;
    for (std::size_t i = 1; i <= N; ++i)
        if (!std::isnan(ZT[i - 1]))
            pieces.push_back(i);
    std::sort(pieces.begin(), pieces.end(), [&](std::size_t a, std::size_t b) { return ZT[a - 1] < ZT[b - 1]; });
    for (std::size_t j = 1; j < ZS.size(); ++j)
        if (!std::isnan(ZS[j - 1]))
            sections.push_back(j);
    std::sort(sections.begin(), sections.end(), [&](std::size_t a, std::size_t b) { return ZS[a - 1] < ZS[b - 1]; });
    MaxTree taken(ZS.size());
    std::vector<std::size_t> section(ZT.size(), MaxTree::none);
    std::size_t next = 0;
    for (const std::size_t i : pieces) {
        for (; next < sections.size() && ZS[sections[next] - 1] <= ZT[i - 1]; ++next)
            taken.set(sections[next], ZS[sections[next]]);
        section[i] = taken.lastAtLeast(ZT[i]);
    }
    KT.assign(ZT.size(), 0.0f);
    float sum = 0;
    for (std::size_t i = 1; i <= N; ++i) {
        // Above the first boundary lies the top section.
        const std::size_t j = section[i] != MaxTree::none ? section[i]
                              : !ZS.empty() && ZT[i] <= ZS[0] ? 0 : MaxTree::none;
        if (j != MaxTree::none) {
            CheckSubscript(static_cast<std::ptrdiff_t>(j), KFS.size());
            KT[i] = KFS[j];
        }
        // A piece lying on a boundary matches two sections; it still counts once,
        // with the permeability the head-loss table uses for it.
        if (KT[i] != 0)
            sum = CheckedSng(sum + Length(XT, ZT, i - 1, i) / KT[i]);
    }
    return sum;
}

namespace {

// The section from Z(m-1) to Z(m) that holds both depths (bounds included); 0 if none.
std::size_t SectionHolding(const Vec& Z, float z1, float z2)
{
    for (std::size_t m = 1; m < Z.size(); ++m) {
        if (Z[m - 1] <= z1 && z1 <= Z[m] && Z[m - 1] <= z2 && z2 <= Z[m])
            return m;
    }
    return 0;
}

// Head lost on a piece of the given length and permeability (none where it is 0).
float PieceLoss(float VF, float k, double length)
{
    const float v = k != 0 ? CheckedSng(VF / static_cast<double>(k)) : 0.0f;
    return CheckedSng(v * length);
}

void HeadLossTable(SeepagePath& s, double link)
{
    const std::size_t NTL = s.ZTL.size() - 1, NTR = s.ZTR.size() - 1;
    s.DHV = {0.0f};
    s.ZDHV = {s.ZTL[0]};
    for (std::size_t i = 1; i <= NTL; ++i)
        Append(s.ZDHV, s.DHV, s.ZTL[i], PieceLoss(s.VF, s.KTL[i], Length(s.XTL, s.ZTL, i - 1, i)));
    s.NDHL = static_cast<int>(s.DHV.size()) - 1;
    if (s.ZTL[NTL] == s.ZTR[NTR] && s.XTL[NTL] == s.XTR[NTR]) {
        s.NDHR = s.NDHL;
    } else {
        Append(s.ZDHV, s.DHV, s.ZTR[NTR], PieceLoss(s.VF, s.KLINK, link));
        s.NDHR = static_cast<int>(s.DHV.size()) - 1;
    }
    for (std::size_t i = NTR; i >= 1; --i)
        Append(s.ZDHV, s.DHV, s.ZTR[i - 1], PieceLoss(s.VF, s.KTR[i], Length(s.XTR, s.ZTR, i, i - 1)));
    for (std::size_t i = 1; i < s.DHV.size(); ++i)
        s.DHV[i] = CheckedSng(static_cast<double>(s.DHV[i]) + s.DHV[i - 1]);
}

float FlowLineLength(const Vec& Z, const Vec& X, float total)
{
    for (std::size_t k = 1; k < Z.size(); ++k)
        total = CheckedSng(total + Length(X, Z, k - 1, k));
    return total;
}

}

float PHILINIE(Vec& ZT, Vec& XT, Vec& KT, const Vec& ZS, const Vec& KFS,
               const Vec& ZST, const Vec& XST, const Vec& ZB, const Vec& XB)
{
    try {
        Vec TZ, TX;
        SplitAtLayers(TZ, TX, ZS, ZST, XST);
        ZT.clear();
        XT.clear();
        SplitAtNodes(ZT, XT, TZ, TX, ZB, XB);
        return PermeabilitiesAndSum(KT, ZT, XT, ZS, KFS);
    } catch (const VbError& e) {
        throw RoutineError(e, QStringLiteral("Neuberechnen/PHILINIE"));
    }
}

SeepagePath ComputeSeepagePath(const CalcInput& in)
{
    const SideInput& L = in.L;
    const SideInput& R = in.R;
    SeepagePath s;
    const std::size_t NSTL = L.ZST.size() - 1, NSTR = R.ZST.size() - 1;
    float lges = FlowLineLength(L.ZST, L.XST, 0.0f);
    lges = CheckedSng(lges + SegmentLength(L.XST[NSTL], L.ZST[NSTL], R.XST[NSTR], R.ZST[NSTR]));
    s.LGES = FlowLineLength(R.ZST, R.XST, lges);
    s.HDIFF = CheckedSng(static_cast<double>(in.ZGWRS) - in.ZGWLS);
    s.GRAD = SngDiv(s.HDIFF, s.LGES);

    s.SUML = PHILINIE(s.ZTL, s.XTL, s.KTL, L.ZS, L.KFS, L.ZST, L.XST, L.ZB, L.XB);
    s.SUMR = PHILINIE(s.ZTR, s.XTR, s.KTR, R.ZS, R.KFS, R.ZST, R.XST, R.ZB, R.XB);
    s.SLK = CheckedSng(static_cast<double>(s.SUML) + s.SUMR);

    // The link lies in the first left section holding both its ends, else in the first
    // right one; if neither holds it, it takes the permeability of the deeper end's
    // last piece. Total resistance and head-loss table use the same permeability.
    const std::size_t NTL = s.ZTL.size() - 1, NTR = s.ZTR.size() - 1;
    const double link = SegmentLength(s.XTL[NTL], s.ZTL[NTL], s.XTR[NTR], s.ZTR[NTR]);
    if (const std::size_t m = SectionHolding(L.ZS, s.ZTL[NTL], s.ZTR[NTR])) {
        s.KLINK = L.KFS[m];
        s.SLK = CheckedSng(s.SLK + CheckedDiv(link, s.KLINK));
    } else if (const std::size_t m = SectionHolding(R.ZS, s.ZTL[NTL], s.ZTR[NTR])) {
        s.KLINK = R.KFS[m];
        s.SLK = CheckedSng(s.SLK + CheckedDiv(link, s.KLINK));
    } else {
        s.KLINK = s.ZTL[NTL] > s.ZTR[NTR] ? s.KTL[NTL] : s.KTR[NTR];
        if (s.KLINK != 0)
            s.SLK = CheckedSng(s.SLK + link / s.KLINK);
    }
    s.KEQ = SngDiv(s.LGES, s.SLK);
    s.VF = CheckedSng(static_cast<double>(s.KEQ) * s.GRAD);
    HeadLossTable(s, link);
    return s;
}
