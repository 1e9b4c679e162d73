#!/usr/bin/env python3
"""A plain reference of the water-pressure calculation, for the speed comparison.

It does the arithmetic of BERECHNUNG on the large record of bench/LargeRecord.h
(1,000 outline points and 50 layers per side) in plain Python: single precision
emulated by rounding through a 4-byte float wherever the program stores a Single,
no database, no numerical libraries, written straight along the calculation's steps
without any tuning. Its time is the yardstick the calculation's own time is set
against in scripts/bench.

    reference_calc.py [--runs N]         prints the fastest of N runs in milliseconds
    reference_calc.py --against BENCH    the same side by side with BM_BERECHNUNG_Large
                                         of the benchmark program BENCH (fastest of N
                                         runs each, in turns), and the ratio of the two
    reference_calc.py --check DATABASE   compares the result rows with those that
                                         BERECHNUNG wrote for record 100 of a project
                                         database (bit for bit)
"""
import argparse
import json
import math
import os
import sqlite3
import struct
import subprocess
import time

_single = struct.Struct("<f")


def sng(x):
    """x stored as a Single; beyond the Single range is the runtime's overflow."""
    return _single.unpack(_single.pack(x))[0]


def bits(pattern):
    return struct.unpack("<f", struct.pack("<I", pattern))[0]


PI = bits(0x40490FDA)
PI_2 = bits(0x3FC90FDA)
PI3_2 = bits(0x4096CBE4)
PI2 = bits(0x40C90FDA)
PI_4 = bits(0x3F490FDA)
PI3_4 = bits(0x4016CBE4)
PI5_4 = bits(0x407B53D0)
PI7_4 = bits(0x40AFEDDF)


def div(a, b):
    if b == 0.0:
        raise ZeroDivisionError
    return a / b


# ---------------------------------------------------------------- the record

def large_record():
    """The input of bench/LargeRecord.h as the calculation reads it back."""
    record = {"ZGWLS": 0.0, "ZGWRS": 2.0}
    for side, x0, flow_top in (("L", 0.0, 0.0), ("R", 4.0, 2.0)):
        ZS, KFS = [], []
        for i in range(50):
            ZS.append(0.0 if i == 0 else sng(sng(0.05) + sng(sng(0.2) * i)))
            KFS.append(0.0 if i == 0 else sng(sng(1e-4) / (1 + i % 7)))
        ZB = [sng(-1.0 + sng(sng(7.0 * i) / 999.0)) for i in range(1000)]
        record[side] = {"ZS": ZS, "KFS": KFS, "ZST": [flow_top, 6.0], "XST": [x0, x0],
                        "ZB": ZB, "XB": [x0] * 1000}
    return record


# ---------------------------------------------------------------- geometry

def richtungswinkel(Z1, X1, Z2, X2):
    A = sng(Z2 - Z1)
    B = sng(X1 - X2)
    if A == 0 and B == 0:
        return 0.0
    if A == 0:
        return PI_2 if B > 0 else PI3_2
    if B == 0:
        return 0.0 if A > 0 else PI
    w = math.atan(B / A)
    if A > 0 and B < 0:
        w += PI2
    elif A < 0:
        w += PI
    return sng(w)


def x_at_depth(x0, z0, x1, z1, z):
    slope = div(x1 - x0, z1 - z0)
    return sng(slope * (z - z0) + x0)


def interpolieren(P, R, S):
    Q = [0.0] * len(P)
    for i in range(len(P)):
        for j in range(len(R) - 1):
            if R[j] <= P[i] and P[i] < R[j + 1]:
                Q[i] = x_at_depth(S[j], R[j], S[j + 1], R[j + 1], P[i])
    return Q


def segment_length(x1, z1, x2, z2):
    dx = x2 - x1
    dz = z2 - z1
    return math.sqrt(dx * dx + dz * dz)


def left_components(a, p):
    s = math.sin(a)
    c = math.cos(a)
    if a <= PI_4:
        return False, -p, sng(div(p * s, c))
    if a < PI3_4:
        return True, -sng(div(p * c, s)), p
    if a <= PI5_4:
        return False, p, -sng(div(p * s, c))
    if a < PI7_4:
        return True, sng(div(p * c, s)), -p
    return False, -p, sng(div(p * s, c))


def sector_components(a, p1, p2, side):
    _, WH1, WV1 = left_components(a, p1)
    horizontal, WH2, WV2 = left_components(a, p2)
    if side == 2:
        WH1, WV1, WH2, WV2 = -WH1, -WV1, -WH2, -WV2
    return horizontal, WH1, WV1, WH2, WV2


# ---------------------------------------------------------------- pressure polygons

def along_flow_line(XGW, ZGW, XS, ZS, XST, ZST, XB, ZB):
    PX, PZ = [], []
    if ZGW < ZST[0]:
        PX.append(XGW)
        PZ.append(ZGW)
        j = 0
        while j < len(ZB) and ZST[0] > ZB[j]:
            if ZB[j] > ZGW:
                PX.append(XB[j])
                PZ.append(ZB[j])
            j += 1
    for k in range(len(ZST) - 1):
        PX.append(XST[k])
        PZ.append(ZST[k])
        if PZ[-1] == ZGW and PX[-1] != XGW:
            PX[-1] = XGW
        for m in range(len(ZS)):
            if ZS[m] == PZ[-1] and XS[m] != PX[-1]:
                PX[-1] = XS[m]
            if ZST[k] < ZS[m] < ZST[k + 1]:
                PX.append(XS[m])
                PZ.append(ZS[m])
    PX.append(XST[-1])
    PZ.append(ZST[-1])
    return PX, PZ


def with_structure_nodes(PX, PZ, XB, ZB):
    NS = len(ZB) - 1
    QX, QZ = [], []
    for p in range(len(PZ) - 1):
        if ZB[0] == PZ[p] and XB[0] != PX[p]:
            QX.append(XB[0])
            QZ.append(ZB[0])
        QX.append(PX[p])
        QZ.append(PZ[p])
        for s in range(NS + 1):
            if ZB[s] == QZ[-1] and XB[s] != QX[-1]:
                QX[-1] = XB[s]
            if PZ[p] < ZB[s] < PZ[p + 1]:
                QX.append(XB[s])
                QZ.append(ZB[s])
            elif PZ[p] == ZB[s] and PX[p] != XB[s]:
                QX.append(XB[s])
                QZ.append(ZB[s])
        if ZB[NS] == PZ[p] and XB[NS] != PX[p]:
            QX.append(XB[NS])
            QZ.append(ZB[NS])
    NP = len(PZ) - 1
    for s in range(NS + 1):
        if PZ[NP] == ZB[s] and PX[NP] != XB[s]:
            QX.append(XB[s])
            QZ.append(ZB[s])
    QX.append(PX[NP])
    QZ.append(PZ[NP])
    for n in range(1, len(QZ)):
        for s in range(1, NS + 1):
            if QZ[n] == QZ[n - 1] and QZ[n] == ZB[s] and QZ[n - 1] == ZB[s - 1]:
                QX[n] = XB[s]
                QX[n - 1] = XB[s - 1]
    return QX, QZ


def without_inner_run_points(QX, QZ):
    NQ = len(QZ) - 1
    if NQ == 0:
        return [QX[0]], [QZ[0]]
    PX, PZ = [], []
    if QZ[0] != QZ[1]:
        PX.append(QX[0])
        PZ.append(QZ[0])
    for p in range(1, NQ):
        if not (QZ[p - 1] == QZ[p] and QZ[p] == QZ[p + 1]):
            PX.append(QX[p])
            PZ.append(QZ[p])
    if QZ[NQ - 1] != QZ[NQ]:
        PX.append(QX[NQ])
        PZ.append(QZ[NQ])
    if not PZ:
        return [0.0], [0.0]
    return PX, PZ


def kvxpolygon(XGW, ZGW, XS, ZS, XST, ZST, XB, ZB):
    PX, PZ = along_flow_line(XGW, ZGW, XS, ZS, XST, ZST, XB, ZB)
    QX, QZ = with_structure_nodes(PX, PZ, XB, ZB)
    return without_inner_run_points(QX, QZ)


# ---------------------------------------------------------------- seepage path

def split_at_layers(ZS, ZST, XST):
    TZ, TX = [ZST[0]], [XST[0]]
    j = 0
    for i in range(1, len(ZST)):
        while True:
            if j >= len(ZS):
                raise IndexError
            if not ZS[j] < ZST[i]:
                break
            if ZST[i - 1] < ZS[j]:
                TZ.append(ZS[j])
                TX.append(x_at_depth(XST[i - 1], ZST[i - 1], XST[i], ZST[i], ZS[j]))
            j += 1
            if j >= len(ZS):
                break
        TZ.append(ZST[i])
        TX.append(XST[i])
    return TZ, TX


def split_at_nodes(TZ, TX, ZB, XB):
    ZT, XT = [TZ[0]], [TX[0]]
    for i in range(1, len(TZ)):
        s = 0
        while s < len(ZB) and ZB[s] < TZ[i]:
            if TZ[i - 1] < ZB[s] and (s == 0 or XB[s] != XB[s - 1]):
                ZT.append(ZB[s])
                XT.append(x_at_depth(TX[i - 1], TZ[i - 1], TX[i], TZ[i], ZB[s]))
            s += 1
        ZT.append(TZ[i])
        XT.append(TX[i])
    return ZT, XT


def permeabilities_and_sum(ZT, XT, ZS, KFS):
    KT = [0.0] * len(ZT)
    total = 0.0
    for i in range(1, len(ZT)):
        for j in range(len(ZS)):
            in_section = ZT[i] <= ZS[0] if j == 0 else (ZS[j] >= ZT[i] and ZT[i - 1] >= ZS[j - 1])
            if in_section:
                KT[i] = KFS[j]
        if KT[i] != 0:
            total = sng(total + segment_length(XT[i - 1], ZT[i - 1], XT[i], ZT[i]) / KT[i])
    return KT, total


def philinie(ZS, KFS, ZST, XST, ZB, XB):
    TZ, TX = split_at_layers(ZS, ZST, XST)
    ZT, XT = split_at_nodes(TZ, TX, ZB, XB)
    KT, total = permeabilities_and_sum(ZT, XT, ZS, KFS)
    return ZT, XT, KT, total


def section_holding(Z, z1, z2):
    for m in range(1, len(Z)):
        if Z[m - 1] <= z1 <= Z[m] and Z[m - 1] <= z2 <= Z[m]:
            return m
    return 0


def piece_loss(VF, k, length):
    v = sng(VF / k) if k != 0 else 0.0
    return sng(v * length)


def flow_line_length(Z, X, total):
    for k in range(1, len(Z)):
        total = sng(total + segment_length(X[k - 1], Z[k - 1], X[k], Z[k]))
    return total


def seepage_path(rec):
    L, R = rec["L"], rec["R"]
    s = {}
    lges = flow_line_length(L["ZST"], L["XST"], 0.0)
    lges = sng(lges + segment_length(L["XST"][-1], L["ZST"][-1], R["XST"][-1], R["ZST"][-1]))
    s["LGES"] = LGES = flow_line_length(R["ZST"], R["XST"], lges)
    HDIFF = sng(rec["ZGWRS"] - rec["ZGWLS"])
    GRAD = sng(div(HDIFF, LGES))
    ZTL, XTL, KTL, SUML = philinie(L["ZS"], L["KFS"], L["ZST"], L["XST"], L["ZB"], L["XB"])
    ZTR, XTR, KTR, SUMR = philinie(R["ZS"], R["KFS"], R["ZST"], R["XST"], R["ZB"], R["XB"])
    SLK = sng(SUML + SUMR)
    NTL, NTR = len(ZTL) - 1, len(ZTR) - 1
    link = segment_length(XTL[NTL], ZTL[NTL], XTR[NTR], ZTR[NTR])
    m = section_holding(L["ZS"], ZTL[NTL], ZTR[NTR])
    if m:
        KLINK = L["KFS"][m]
        SLK = sng(SLK + div(link, KLINK))
    else:
        m = section_holding(R["ZS"], ZTL[NTL], ZTR[NTR])
        if m:
            KLINK = R["KFS"][m]
            SLK = sng(SLK + div(link, KLINK))
        else:
            KLINK = KTL[NTL] if ZTL[NTL] > ZTR[NTR] else KTR[NTR]
            if KLINK != 0:
                SLK = sng(SLK + link / KLINK)
    KEQ = sng(div(LGES, SLK))
    VF = sng(KEQ * GRAD)

    DHV, ZDHV = [0.0], [ZTL[0]]
    for i in range(1, NTL + 1):
        ZDHV.append(ZTL[i])
        DHV.append(piece_loss(VF, KTL[i], segment_length(XTL[i - 1], ZTL[i - 1], XTL[i], ZTL[i])))
    NDHL = len(DHV) - 1
    if ZTL[NTL] == ZTR[NTR] and XTL[NTL] == XTR[NTR]:
        NDHR = NDHL
    else:
        ZDHV.append(ZTR[NTR])
        DHV.append(piece_loss(VF, KLINK, link))
        NDHR = len(DHV) - 1
    for i in range(NTR, 0, -1):
        ZDHV.append(ZTR[i - 1])
        DHV.append(piece_loss(VF, KTR[i], segment_length(XTR[i], ZTR[i], XTR[i - 1], ZTR[i - 1])))
    for i in range(1, len(DHV)):
        DHV[i] = sng(DHV[i] + DHV[i - 1])
    s.update(DHV=DHV, ZDHV=ZDHV, NDHL=NDHL, NDHR=NDHR)
    return s


# ---------------------------------------------------------------- pressures

def vertex_pressure(z, ZGWLS, h):
    head = sng((z - ZGWLS) - h)
    rounded = sng(round(head * 100000.0) / 100000.0)
    return sng(rounded * 10)


def bracketed(t, a, b, z):
    last = len(t["ZDHV"]) - 1
    if a < 0 or b < 0 or a > last or b > last:
        return 0.0
    za, zb = t["ZDHV"][a], t["ZDHV"][b]
    if not (za <= z <= zb and za < zb):
        return 0.0
    share = (z - za) / (zb - za)
    return sng(t["DHV"][a] + (t["DHV"][b] - t["DHV"][a]) * share)


def left_pressures(Z, t, ZGWLS):
    ZDHV, DHV, NDHL = t["ZDHV"], t["DHV"], t["NDHL"]
    NP = len(Z) - 1
    P = [0.0] * len(Z)
    m = 0
    for p in range(NP + 1):
        if Z[p] < ZDHV[0] or m > NDHL:
            h = 0.0
        elif Z[p] == ZDHV[m]:
            h = DHV[m]
            advance = True
            if p < NP and m < NDHL:
                advance = Z[p + 1] == ZDHV[m + 1] or Z[p + 1] != ZDHV[m]
            elif p < NP:
                advance = Z[p + 1] != ZDHV[m]
            if advance:
                m += 1
        else:
            h = bracketed(t, m - 1, m, Z[p])
        P[p] = vertex_pressure(Z[p], ZGWLS, h)
    return P


def right_pressures(Z, t, ZGWLS):
    ZDHV, DHV, NDHR = t["ZDHV"], t["DHV"], t["NDHR"]
    NP = len(Z) - 1
    last = len(ZDHV) - 1
    P = [0.0] * len(Z)
    m = last
    for p in range(NP + 1):
        if Z[p] < ZDHV[last]:
            h = DHV[last]
        elif m < NDHR:
            h = 0.0
        elif Z[p] == ZDHV[m]:
            h = DHV[m]
            move = True
            if p < NP and m > NDHR:
                move = Z[p + 1] == ZDHV[m - 1] or Z[p + 1] != ZDHV[m]
            elif p < NP:
                move = Z[p + 1] != ZDHV[m]
            if move:
                m -= 1
        else:
            h = bracketed(t, m + 1, m, Z[p])
        P[p] = vertex_pressure(Z[p], ZGWLS, h)
    return P


# ---------------------------------------------------------------- results

def base_corners(xL, zL, pL, xR, zR, pR):
    if zL == zR and xL == xR:
        return 0.0, 0.0, 0.0, 0.0
    a = richtungswinkel(zL, xL, zR, xR)
    if a == PI3_2:
        return 0.0, -pL, 0.0, -pR
    if PI < a < PI3_2 or PI3_2 < a < PI2:
        c, s = math.cos(a), math.sin(a)
        return sng(div(pL * c, s)), -pL, sng(div(pR * c, s)), -pR
    raise ValueError("vertical or rising base")


def section_rows(K, X, Z, P):
    """(table, K, OU or I5I, I4 or I5, X, Z, WH, WV) in the order they are written."""
    rows = [("A2", K, 0, 0, X[0], Z[0], 0.0, 0.0)]
    vertex = section = 0
    for i in range(len(Z) - 1):
        a = richtungswinkel(Z[i], X[i], Z[i + 1], X[i + 1])
        horizontal, WH1, WV1, WH2, WV2 = sector_components(a, P[i], P[i + 1], K)
        if not horizontal:
            rows.append(("A2", K, 1, vertex, X[i], Z[i], WH1, WV1))
            vertex += 1
            rows.append(("A2", K, 0, vertex, X[i + 1], Z[i + 1], WH2, WV2))
        else:
            rows.append(("A2", K, 1, vertex, X[i], Z[i], 0.0, 0.0))
            vertex += 1
            rows.append(("A2", K, 0, vertex, X[i + 1], Z[i + 1], 0.0, 0.0))
            rows.append(("A3", K, 1, section, X[i], Z[i], WH1, WV1))
            rows.append(("A3", K, 2, section, X[i + 1], Z[i + 1], WH2, WV2))
            section += 1
    rows.append(("A2", K, 1, vertex, X[-1], Z[-1], 0.0, 0.0))
    return rows


def calculate(rec):
    L, R = rec["L"], rec["R"]
    XGWL = interpolieren([rec["ZGWLS"]], L["ZB"], L["XB"])[0]
    XGWR = interpolieren([rec["ZGWRS"]], R["ZB"], R["XB"])[0]
    XBSL = interpolieren(L["ZS"], L["ZB"], L["XB"])
    XBSR = interpolieren(R["ZS"], R["ZB"], R["XB"])
    XPL, ZPL = kvxpolygon(XGWL, rec["ZGWLS"], XBSL, L["ZS"], L["XST"], L["ZST"], L["XB"], L["ZB"])
    XPR, ZPR = kvxpolygon(XGWR, rec["ZGWRS"], XBSR, R["ZS"], R["XST"], R["ZST"], R["XB"], R["ZB"])
    path = seepage_path(rec)
    PL = left_pressures(ZPL, path, rec["ZGWLS"])
    PR = right_pressures(ZPR, path, rec["ZGWLS"])
    base = base_corners(XPL[-1], ZPL[-1], PL[-1], XPR[-1], ZPR[-1], PR[-1])
    return base, section_rows(1, XPL, ZPL, PL) + section_rows(2, XPR, ZPR, PR)


# ---------------------------------------------------------------- command line

def check(database, rows, base):
    """True when the database's results of record 100 are these, bit for bit."""
    db = sqlite3.connect(database)
    stored = []
    for table, keys in (("A2", "OU, I4"), ("A3", "I5I, I5")):
        stored += [(table,) + tuple(r) for r in db.execute(
            f"SELECT K, {keys}, X, Z, WH, WV FROM {table} WHERE ID = 100 ORDER BY K, {keys.split(', ')[1]}, "
            f"{keys.split(', ')[0]}")]
    corners = db.execute("SELECT WHL, WVL, WHR, WVR FROM A1 WHERE ID = 100").fetchone()
    ordered = sorted(rows, key=lambda r: (r[0], r[1], r[3], r[2]))
    same = len(stored) == len(ordered) and all(
        a[:4] == b[:4] and all(sng(x) == sng(y) for x, y in zip(a[4:], b[4:])) for a, b in zip(stored, ordered))
    return same and all(sng(x) == sng(y) for x, y in zip(corners, base))


def fastest_reference(rec, runs):
    best = math.inf
    for _ in range(runs):
        start = time.perf_counter()
        calculate(rec)
        best = min(best, time.perf_counter() - start)
    return best * 1000


def fastest_program(bench, runs):
    """The fastest of the runs of BM_BERECHNUNG_Large, in milliseconds (wall time)."""
    out = subprocess.run([bench, "--benchmark_filter=^BM_BERECHNUNG_Large$", f"--benchmark_repetitions={runs}",
                          "--benchmark_format=json"], check=True, capture_output=True, text=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    return min(b["real_time"] * scale[b["time_unit"]] for b in runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--check", metavar="DATABASE")
    parser.add_argument("--against", metavar="BENCH")
    args = parser.parse_args()
    rec = large_record()
    if args.against:
        program, reference = math.inf, math.inf
        for _ in range(3):   # in turns, so that both meet the same load
            program = min(program, fastest_program(args.against, args.runs))
            reference = min(reference, fastest_reference(rec, args.runs))
        print(f"BERECHNUNG, large record: {program:.1f} ms; plain Python reference: {reference:.1f} ms; "
              f"ratio {program / reference:.2f}")
        return 0
    if args.check:
        base, rows = calculate(rec)
        ok = check(args.check, rows, base)
        print(f"{len(rows)} result rows {'equal' if ok else 'DIFFER from'} the database's")
        return 0 if ok else 1
    print(f"{fastest_reference(rec, args.runs):.1f}")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
