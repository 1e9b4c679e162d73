#pragma once
// A large record for the benchmarks: groundwater 2 m higher on the left; on each side
// layer boundaries down to 9.85 m (50 unless told) and a vertical outline from 1 m above
// ground down to the base at 6 m (1,000 points unless told); not active.
#include "platform/Ado.h"

inline void WriteLargeRecord(Connection& cnn, int32_t ID, int32_t layers = 50, int32_t points = 1000)
{
    const Variant id(ID);
    cnn.Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (?, 'Gross', '', 0)"), {id});
    cnn.Execute(QStringLiteral("INSERT INTO E2 (ID, ZGWLS, ZGWRS) VALUES (?, 0, 2)"), {id});
    for (int16_t K : {int16_t(1), int16_t(2)}) {
        const float x0 = K == 1 ? 0.0f : 4.0f;
        const float spacing = 9.8f / float(layers - 1);
        for (int32_t i = 0; i < layers; ++i) {
            const float Z = i == 0 ? 0.0f : 0.05f + spacing * float(i);
            const float KF = i == 0 ? 0.0f : 1e-4f / float(1 + i % 7);
            cnn.Execute(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z, KF) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(Z), Variant(KF)});
        }
        const float flowTop = K == 1 ? 0.0f : 2.0f;
        for (int32_t i = 0; i < 2; ++i)
            cnn.Execute(QStringLiteral("INSERT INTO E4 (ID, K, I2, X, Z) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(x0), Variant(i == 0 ? flowTop : 6.0f)});
        for (int32_t i = 0; i < points; ++i) {
            const float Z = -1.0f + 7.0f * float(i) / float(points - 1);
            cnn.Execute(QStringLiteral("INSERT INTO E5 (ID, K, I3, X, Z) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(x0), Variant(Z)});
        }
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
