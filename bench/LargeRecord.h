#pragma once
// A large record for the benchmarks: groundwater 2 m higher on the left; on each side
// 50 layer boundaries down to 9.85 m and a vertical outline of 1,000 points from 1 m
// above ground down to the base at 6 m; not active.
#include "platform/Ado.h"

inline void WriteLargeRecord(Connection& cnn, int32_t ID)
{
    const Variant id(ID);
    cnn.Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (?, 'Gross', '', 0)"), {id});
    cnn.Execute(QStringLiteral("INSERT INTO E2 (ID, ZGWLS, ZGWRS) VALUES (?, 0, 2)"), {id});
    for (int16_t K : {int16_t(1), int16_t(2)}) {
        const float x0 = K == 1 ? 0.0f : 4.0f;
        for (int32_t i = 0; i < 50; ++i) {
            const float Z = i == 0 ? 0.0f : 0.05f + 0.2f * float(i);
            const float KF = i == 0 ? 0.0f : 1e-4f / float(1 + i % 7);
            cnn.Execute(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z, KF) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(Z), Variant(KF)});
        }
        const float flowTop = K == 1 ? 0.0f : 2.0f;
        for (int32_t i = 0; i < 2; ++i)
            cnn.Execute(QStringLiteral("INSERT INTO E4 (ID, K, I2, X, Z) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(x0), Variant(i == 0 ? flowTop : 6.0f)});
        for (int32_t i = 0; i < 1000; ++i) {
            const float Z = -1.0f + 7.0f * float(i) / 999.0f;
            cnn.Execute(QStringLiteral("INSERT INTO E5 (ID, K, I3, X, Z) VALUES (?, ?, ?, ?, ?)"),
                        {id, Variant(K), Variant(i), Variant(x0), Variant(Z)});
        }
    }
}
