#include "LayoutRows.h"
#include "data/clsDATEN.h"
#include "platform/ErrorGuard.h"
#include <utility>
#include <vector>

namespace {

using Values = std::vector<std::pair<const char*, float>>;

// OX and OY are Integers, the other columns Singles; each write its own step.
void write(Guard& g, clsDATEN& G0, int16_t IDOBJEKT, const Values& values)
{
    const QString key = QStringLiteral("IDOBJEKT");
    const Variant row(IDOBJEKT);
    for (const auto& [column, value] : values) {
        const QString name = QLatin1String(column);
        if (name == QLatin1String("OX") || name == QLatin1String("OY"))
            g.step([&] { G0.DVTI(name, int16_t(value), key, row); });
        else
            g.step([&] { G0.DVTS(name, value, key, row); });
    }
}

} // namespace

void WriteSectionLayoutDefaults(Guard& g, clsDATEN& G0, bool pressureScale)
{
    Values values{{"OX", 1}, {"OY", -1}, {"RL", 11}, {"RR", 7}, {"RO", 7}, {"RU", 11}, {"MYMX", 1}};
    if (pressureScale)
        values.push_back({"MSP", 5});
    values.insert(values.end(), {{"MX", 0}, {"MY", 0}});
    write(g, G0, 11, values);
}

void WriteGridLayoutDefaults(Guard& g, clsDATEN& G0, int16_t IDOBJEKT, bool pressureScale)
{
    Values values{{"OX", 1}, {"OY", -1}, {"RL", 0}, {"RR", 0}, {"RO", 0}, {"RU", 0}, {"MX", 1}, {"MY", 1}};
    if (pressureScale)
        values.push_back({"MSP", 0.5f});
    write(g, G0, IDOBJEKT, values);
}
