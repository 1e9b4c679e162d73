#include "Records.h"

CalcInput ToInput(const Record& r)
{
    CalcInput in;
    in.ZGWLS = r.ZGWLS;
    in.ZGWRS = r.ZGWRS;
    auto side = [](SideInput& s, const auto& layers, const auto& flow, const auto& outline) {
        for (const auto& l : layers) {
            s.ZS.push_back(l[0]);
            s.KFS.push_back(l[1]);
        }
        for (const auto& p : flow) {
            s.XST.push_back(p[0]);
            s.ZST.push_back(p[1]);
        }
        for (const auto& p : outline) {
            s.XB.push_back(p[0]);
            s.ZB.push_back(p[1]);
        }
    };
    side(in.L, r.layersL, r.flowL, r.outlineL);
    side(in.R, r.layersR, r.flowR, r.outlineR);
    return in;
}

void StoreRecord(TempProject& p, int id, const Record& r, bool active)
{
    const Variant ID{int32_t(id)};
    p.cnnX()->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (?, ?, '', ?)"),
                      {ID, Variant(QStringLiteral("Satz %1").arg(id)), Variant(active)});
    p.cnnX()->Execute(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (?, 1)"), {ID});
    StoreInput(p, id, r);
}

void StoreInput(TempProject& p, int id, const Record& r)
{
    const Variant ID{int32_t(id)};
    for (const char* table : {"E2", "E3", "E4", "E5"})
        p.cnnX()->Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(QLatin1String(table)), {ID});
    p.cnnX()->Execute(QStringLiteral("INSERT INTO E2 (ID, ZGWLS, ZGWRS) VALUES (?, ?, ?)"),
                      {ID, Variant(r.ZGWLS), Variant(r.ZGWRS)});
    auto rows = [&](const char* table, const char* index, const char* c1, const char* c2, int16_t K,
                    const std::vector<std::array<float, 2>>& values) {
        const QString sql = QStringLiteral("INSERT INTO %1 (ID, K, %2, %3, %4) VALUES (?, ?, ?, ?, ?)")
                                .arg(QLatin1String(table), QLatin1String(index), QLatin1String(c1), QLatin1String(c2));
        for (std::size_t i = 0; i < values.size(); ++i)
            p.cnnX()->Execute(sql, {ID, Variant(K), Variant(int32_t(i)), Variant(values[i][0]), Variant(values[i][1])});
    };
    rows("E3", "I1", "Z", "KF", 1, r.layersL);
    rows("E3", "I1", "Z", "KF", 2, r.layersR);
    rows("E4", "I2", "X", "Z", 1, r.flowL);
    rows("E4", "I2", "X", "Z", 2, r.flowR);
    rows("E5", "I3", "X", "Z", 1, r.outlineL);
    rows("E5", "I3", "X", "Z", 2, r.outlineR);
}

namespace Records {

namespace {
const std::vector<std::array<float, 2>> ThreeBoundaries{{0, 0}, {3, 1e-4f}, {10, 1e-5f}};
const std::vector<std::array<float, 2>> Layers025{{0, 0}, {2, 1e-4f}, {5, 2e-5f}};
}

Record HeadLossExample()
{
    return {0, 2, ThreeBoundaries, ThreeBoundaries, {{0, 0}, {0, 6}}, {{4, 2}, {4, 6}},
            {{0, -1}, {0, 6}}, {{4, -1}, {4, 6}}};
}

Record PolygonExample()
{
    return {-2, 0, ThreeBoundaries, ThreeBoundaries, {{0, 0}, {0, 6}}, {{4, 0}, {4, 6}},
            {{0, -3}, {0, 6}}, {{4, -3}, {4, 6}}};
}

Record SymmetricBox()
{
    return {0, 0, ThreeBoundaries, ThreeBoundaries, {{0, 0}, {0, 6}}, {{4, 0}, {4, 6}},
            {{0, -1}, {0, 6}}, {{4, -1}, {4, 6}}};
}

Record UnsymmetricConsistent()
{
    return {-0.5f, 3, {{0, 0}, {2, 0.0002f}, {5, 5e-05f}, {9, 1e-05f}},
            {{0, 0}, {1.5f, 0.0003f}, {4, 8e-05f}, {8, 1e-05f}, {12, 1e-06f}},
            {{0, -0.5f}, {0, 7}}, {{5, 3}, {5, 7}}, {{0, -2}, {0, 7}}, {{5, -2}, {5, 7}}};
}

Record LinkPermeabilityMismatch()
{
    return {-0.5f, 3, {{0, 0}, {2, 0.0002f}, {5, 5e-05f}, {9, 1e-05f}},
            {{0, 0}, {1.5f, 0.0003f}, {4, 8e-05f}, {7.5f, 2e-05f}, {12, 1e-06f}},
            {{0, -0.5f}, {0, 7}}, {{5, 3}, {5, 7}}, {{0, -2}, {0, 7}}, {{5, -2}, {5, 7}}};
}

Record LinkOnRightBoundary()
{
    return {-0.5f, 3, {{0, 0}, {2, 0.0002f}, {5, 5e-05f}},
            {{0, 0}, {1.5f, 0.0003f}, {4, 8e-05f}, {7, 2e-05f}, {12, 1e-06f}},
            {{0, -0.5f}, {0, 7}}, {{5, 3}, {5, 7}}, {{0, -2}, {0, 7}}, {{5, -2}, {5, 7}}};
}

Record StepAndSlope()
{
    return {0, 1.5f, {{0, 0}, {3, 0.0001f}, {8, 2e-05f}}, {{0, 0}, {3, 0.0001f}, {8, 2e-05f}},
            {{0, 0}, {0, 2}, {-1, 2}, {-1, 5}, {0, 6}}, {{6, 1.5f}, {6, 4}, {5, 5.5f}},
            {{0, -1}, {0, 2}, {-1, 2}, {-1, 5}, {0, 6}}, {{6, -1}, {6, 4}, {5, 5.5f}}};
}

Record StepOnBoundary()
{
    Record r = StepAndSlope();
    r.layersL = {{0, 0}, {2, 0.0002f}, {3, 0.0001f}, {8, 2e-05f}};
    return r;
}

Record NodesAndRightLevel()
{
    return {-1, 1, ThreeBoundaries, ThreeBoundaries, {{0, 0}, {0, 6}}, {{4, 2}, {4, 6}},
            {{0, -2}, {0, -0.5f}, {0, 2}, {0, 6}}, {{4, -2}, {4, 6}}};
}

Record RoundingHalfEven()
{
    return {0, 0, ThreeBoundaries, ThreeBoundaries, {{0, 1}, {0, 6}}, {{4, 0}, {4, 6}},
            {{0, -1}, {0, 0.015625f}, {0, 0.046875f}, {0, 6}}, {{4, -1}, {4, 6}}};
}

Record LevelsAtOutlineNodes()
{
    const std::vector<std::array<float, 2>> layers{{0, 0}, {4, 0.0001f}, {9, 1e-05f}};
    return {2, 6, layers, layers, {{-1.2f, 2}, {-1, 6}}, {{5, 6}},
            {{0, -1}, {0, 2}, {-1, 2}, {-1, 6}}, {{5, -1}, {5, 6}}};
}

Record MinimalAccepted()
{
    const std::vector<std::array<float, 2>> layers{{0, 0}, {10, 1e-05f}};
    return {0, 2, layers, layers, {{0, 6}}, {{4, 6}}, {{0, 6}}, {{4, 6}}};
}

Record BaseAt(float zLeft, float zRight)
{
    return {0, 0.5f, Layers025, Layers025, {{0, 0}, {0, zLeft}}, {{4, 0.5f}, {4, zRight}},
            {{0, -1}, {0, zLeft}}, {{4, -1}, {4, zRight}}};
}

Record VerticalBase()
{
    return {0, 0.5f, Layers025, Layers025, {{0, 0}, {2, 3}}, {{3.7f, 0.5f}, {2, 4}},
            {{0, -1}, {2, 3}}, {{4, -1}, {2, 4}}};
}

Record ReversedBase()
{
    return {0, 0.5f, Layers025, Layers025, {{4, 0}, {4, 3}}, {{0, 0.5f}, {0, 3}},
            {{4, -1}, {4, 3}}, {{0, -1}, {0, 3}}};
}

Record PointedBase()
{
    const std::vector<std::array<float, 2>> layers{{0, 0}, {2, 0.0001f}, {3, 2e-05f}};
    return {0, 1, layers, layers, {{0, 0}, {0, 2}, {2, 4}}, {{4, 1}, {4, 2}, {2, 4}},
            {{0, -1}, {0, 2}, {2, 4}}, {{4, -1}, {4, 2}, {2, 4}}};
}

Record LinkInImpermeableSection()
{
    const std::vector<std::array<float, 2>> layers{{0, 0}, {3, 0.0001f}, {10, 0}};
    return {0, 1, layers, layers, {{0, 0}, {0, 6}}, {{4, 1}, {4, 6}}, {{0, -1}, {0, 6}}, {{4, -1}, {4, 6}}};
}

Record FlowPointBelowDeepestLayer()
{
    return {0, 0, {{0, 0}, {3, 0.0001f}}, ThreeBoundaries, {{0, 0}, {0, 4}, {0, 6}}, {{4, 0}, {4, 6}},
            {{0, -1}, {0, 6}}, {{4, -1}, {4, 6}}};
}

Record ZeroPathLength()
{
    const std::vector<std::array<float, 2>> layers{{0, 0}, {10, 1e-05f}};
    return {0, 1, layers, layers, {{0, 6}}, {{0, 6}}, {{-2, -1}, {0, 6}}, {{2, -1}, {0, 6}}};
}

Record ZeroPathLengthEqualLevels()
{
    Record r = ZeroPathLength();
    r.ZGWRS = r.ZGWLS;
    return r;
}

}
