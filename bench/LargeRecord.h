#pragma once
// A large record for the benchmarks: groundwater 2 m higher on the left; on each side
// layer boundaries down to 9.85 m (50 unless told) and a vertical outline from 1 m above
// ground down to the base at 6 m (1,000 points unless told); not active.
#include "calc/CalcInput.h"
#include "platform/Ado.h"

// The record as the calculation reads it back.
inline CalcInput LargeRecordInput(int32_t layers = 50, int32_t points = 1000)
{
    CalcInput in;
    in.ZGWLS = 0;
    in.ZGWRS = 2;
    for (int16_t K : {int16_t(1), int16_t(2)}) {
        SideInput& side = K == 1 ? in.L : in.R;
        const float x0 = K == 1 ? 0.0f : 4.0f;
        const float spacing = 9.8f / float(layers - 1);
        for (int32_t i = 0; i < layers; ++i) {
            side.ZS.push_back(i == 0 ? 0.0f : 0.05f + spacing * float(i));
            side.KFS.push_back(i == 0 ? 0.0f : 1e-4f / float(1 + i % 7));
        }
        side.ZST = {K == 1 ? 0.0f : 2.0f, 6.0f};
        side.XST = {x0, x0};
        for (int32_t i = 0; i < points; ++i) {
            side.ZB.push_back(-1.0f + 7.0f * float(i) / float(points - 1));
            side.XB.push_back(x0);
        }
    }
    return in;
}

inline void WriteLargeRecord(Connection& cnn, int32_t ID, int32_t layers = 50, int32_t points = 1000)
{
    const CalcInput in = LargeRecordInput(layers, points);
    const Variant id(ID);
    cnn.Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (?, 'Gross', '', 0)"), {id});
    cnn.Execute(QStringLiteral("INSERT INTO E2 (ID, ZGWLS, ZGWRS) VALUES (?, ?, ?)"),
                {id, Variant(in.ZGWLS), Variant(in.ZGWRS)});
    // One table's rows of a side: running number and two columns.
    auto rows = [&](const char* table, const char* columns, int16_t K, const std::vector<float>& first,
                    const std::vector<float>& second) {
        const QString sql = QStringLiteral("INSERT INTO %1 (ID, K, %2) VALUES (?, ?, ?, ?, ?)")
                                .arg(QLatin1String(table), QLatin1String(columns));
        for (std::size_t i = 0; i < first.size(); ++i)
            cnn.Execute(sql, {id, Variant(K), Variant(int32_t(i)), Variant(first[i]), Variant(second[i])});
    };
    for (int16_t K : {int16_t(1), int16_t(2)}) {
        const SideInput& side = K == 1 ? in.L : in.R;
        rows("E3", "I1, Z, KF", K, side.ZS, side.KFS);
        rows("E4", "I2, X, Z", K, side.XST, side.ZST);
        rows("E5", "I3, X, Z", K, side.XB, side.ZB);
    }
}

// The section rows a recalculation wrote into A2 and A3.
inline int64_t SectionRows(const std::shared_ptr<Connection>& cnn)
{
    int64_t n = 0;
    for (const char* table : {"A2", "A3"}) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)), cnn);
        n += CLng(rs.Fields(0).Value());
        rs.Close();
    }
    return n;
}
