#include "AxisScale.h"
#include "DrawMath.h"
#include "platform/Variant.h"
#include "platform/VbError.h"
#include <cmath>

namespace {

// A table element; no table is a type mismatch, an index outside it error 9.
float at(const AxisTable& table, int i)
{
    if (!table)
        throw VbError(VbErr::TypeMismatch);
    if (i < 0 || i >= int(table->size()))
        throw VbError(VbErr::Subscript);
    return (*table)[std::size_t(i)];
}

int last(const AxisTable& table)
{
    if (!table)
        throw VbError(VbErr::TypeMismatch);
    return int(table->size()) - 1;
}

int16_t count(const AxisTable& table, int i)
{
    return CInt(Variant(at(table, i)));
}

float& element(std::vector<float>& v, int i)
{
    if (i < 0 || i >= int(v.size()))
        throw VbError(VbErr::Subscript);
    return v[std::size_t(i)];
}

std::vector<float> sized(int upperBound)
{
    if (upperBound < -1)
        throw VbError(VbErr::Subscript);
    return std::vector<float>(std::size_t(upperBound + 1), 0.0f);
}

// 10^e computed in double precision and compared as a Single.
float pow10(int e)
{
    return float(std::pow(10.0, e));
}

// Snaps a lower bound down onto the allowed bounds (the first i with
// allowed(i-1) <= MIN < allowed(i)); with clamp, a MIN below the first entry becomes it.
void snapDown(const AxisTable& allowed, float& MIN, bool clamp)
{
    if (clamp && MIN < at(allowed, 0)) {
        MIN = at(allowed, 0);
        return;
    }
    for (int i = 1; i <= last(allowed); ++i)
        if (at(allowed, i - 1) <= MIN && MIN < at(allowed, i)) {
            MIN = at(allowed, i - 1);
            return;
        }
}

// Snaps an upper bound up (the first i with allowed(i-1) < MAX <= allowed(i)); with
// clamp, a MAX above the last entry becomes it.
void snapUp(const AxisTable& allowed, float& MAX, bool clamp)
{
    if (clamp && MAX > at(allowed, last(allowed))) {
        MAX = at(allowed, last(allowed));
        return;
    }
    for (int i = 1; i <= last(allowed); ++i)
        if (at(allowed, i - 1) < MAX && MAX <= at(allowed, i)) {
            MAX = at(allowed, i);
            return;
        }
}

void linear(int NR, bool autoMin, bool autoMax, float& MIN, float& MAX, AxisTicks& t,
            const AxisTables& tab)
{
    if (autoMin)
        snapDown(tab.MIN, MIN, true);
    if (autoMax)
        snapUp(tab.MIN, MAX, true);
    float D = CheckedSng(double(MAX) - double(MIN));
    if (D <= at(tab.DIFF, 0))
        D = at(tab.DIFF, 0);
    if (D >= at(tab.DIFF, last(tab.DIFF)))
        D = at(tab.DIFF, last(tab.DIFF));
    int k = 0;
    while (!(D <= at(tab.DIFF, k)))
        ++k;
    D = at(tab.DIFF, k);
    if (NR != 1 && NR != 2)
        MAX = CheckedSng(double(MIN) + double(D));
    t.G = count(tab.GIT, k);
    t.Z = count(tab.ZL, k);
    t.N = count(tab.IT, k);
    const float step = SngDiv(D, t.N);
    t.T = sized(t.N + 1);
    t.T[0] = MIN;
    for (int j = 1; j <= t.N; ++j)
        element(t.T, j) = CheckedSng(double(element(t.T, j - 1)) + double(step));
}

// The first exponent from -20 to 10 with 10^e > MIN; 11 when there is none.
int firstExponentAbove(float MIN)
{
    for (int e = -20; e <= 10; ++e)
        if (pow10(e) > MIN)
            return e;
    return 11;
}

// The number of exponents from e upward (at most 10) with 10^x <= MAX.
int decadesUpTo(int e, float MAX)
{
    int n = 0;
    for (int x = e; x <= 10 && pow10(x) <= MAX; ++x)
        ++n;
    return n;
}

void logarithmic(bool autoMin, bool autoMax, float& MIN, float& MAX, AxisTicks& t,
                 const AxisTables& tab)
{
    bool fixedSnaps = true;
    if (autoMin)
        snapDown(tab.MIN, MIN, true);
    if (autoMax) {
        if (MAX > at(tab.MIN, last(tab.MIN))) {
            MAX = at(tab.MIN, last(tab.MIN));
            fixedSnaps = false;
        } else {
            snapUp(tab.MIN, MAX, false);
        }
    }
    if (fixedSnaps && !autoMin)
        snapDown(tab.MIN, MIN, false);
    if (fixedSnaps && !autoMax)
        snapUp(tab.MIN, MAX, false);

    const float IT0 = at(tab.IT, 0);
    t.N = count(tab.IT, 0);
    int e = 11;
    if (t.N == 0) {
        t.T = {LOG10(MIN)};
    } else if (t.N == 1) {
        e = firstExponentAbove(MIN);
        t.N = int16_t(t.N + decadesUpTo(e, MAX));
        t.T = sized(t.N);
        t.T[0] = LOG10(MIN);
        for (int j = 1; j <= t.N - 1; ++j)
            element(t.T, j) = float(e + j - 1);
        element(t.T, t.N) = LOG10(MAX);
    } else if (t.N == 10) {
        e = firstExponentAbove(MIN);
        int m1 = 0;
        for (int m = 1; m <= 9; ++m)
            if (float(m * std::pow(10.0, e - 1)) >= MIN) { m1 = m; break; }
        int e2 = 11;
        for (int x = e; x <= 10; ++x)
            if (pow10(x) > MAX) { e2 = x; break; }
        e2 = e2 > e ? e2 - 1 : e;
        int m2 = 0;
        for (int m = 1; m <= 9; ++m)
            if (float(m * std::pow(10.0, e2)) >= MAX) { m2 = m; break; }
        t.T = sized((10 - m1) + 10 * (e2 - e) + m2);
        int i = 0;
        element(t.T, i) = LOG10(MIN);
        for (int m = m1 + 1; m <= 9; ++m)
            element(t.T, ++i) = float(e - 1) + LOG10(float(m));
        for (int d = e; d <= e2 - 1; ++d)
            for (int m = 0; m <= 9; ++m)
                element(t.T, ++i) = float(d) + LOG10(float(m));
        for (int m = 1; m <= m2 - 1; ++m)
            element(t.T, ++i) = float(e2) + LOG10(float(m));
        element(t.T, ++i) = LOG10(MAX);
        t.N = int16_t(i);
    }
    t.G = count(tab.GIT, 0);
    if (IT0 == float(t.G)) {
        t.NM = t.N;
        t.P.assign(t.T.begin(), t.T.begin() + std::min<std::size_t>(t.T.size(), std::size_t(t.N) + 1));
    } else if (IT0 == 10.0f && t.G == 1) {
        t.NM = int16_t(1 + decadesUpTo(e, MAX));
        t.P = sized(t.NM);
        t.P[0] = LOG10(MIN);
        for (int j = 1; j <= t.NM - 1; ++j)
            element(t.P, j) = float(e + j - 1);
        element(t.P, t.NM) = LOG10(MAX);
    }
    t.Z = count(tab.ZL, 0);
}

float first(const std::vector<float>& data)
{
    if (data.empty())
        throw VbError(VbErr::Subscript);
    return data.front();
}

} // namespace

void SKALENTEILUNG(int NR, bool autoMin, bool autoMax, int scaleType,
                   const std::vector<float>& data, float& MIN, float& MAX,
                   AxisTicks& ticks, const AxisTables& tables)
{
    if (autoMin) {
        if (NR == 1 || NR == -1)
            MIN = first(data);
        for (float v : data)
            MIN = std::min(MIN, v);
    }
    if (autoMax) {
        if (NR == 1 || NR == -1)
            MAX = first(data);
        for (float v : data)
            MAX = std::max(MAX, v);
    }
    if (scaleType == 0)
        linear(NR, autoMin, autoMax, MIN, MAX, ticks, tables);
    else if (scaleType == 1)
        logarithmic(autoMin, autoMax, MIN, MAX, ticks, tables);
}

void MASSSTAEBE(float XMIN, float XMAX, float YMIN, float YMAX, float ELX, float ELY,
                float RL, float RR, float RU, float RO, float MYMX, float& MX, float& MY)
{
    if (MX == 0.0f)
        MX = SngDiv(XMAX - XMIN, ELX - RL - RR);
    if (MY == 0.0f)
        MY = SngDiv(YMAX - YMIN, ELY - RO - RU);
    if (MYMX > 0.0f) {
        if (MX * MYMX >= MY)
            MY = CheckedSng(double(MX) * MYMX);
        else
            MX = SngDiv(MY, MYMX);
    }
}
