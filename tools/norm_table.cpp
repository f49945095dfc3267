#include "tools/norm_table.h"

#include "platform/profile_file.h"

#include <algorithm>
#include <cmath>

namespace {

// A decimal number written with a point or, as Dutch authors may, a comma.
double Number(const std::string& text, bool& ok) {
    return QString::fromStdString(text).trimmed().replace(',', '.').toDouble(&ok);
}

} // namespace

int NormIQ(const TNormGroup& group, int raw) {
    const double iq = 100.0 + 15.0 * (raw - group.Mean) / group.Spread;
    return int(std::clamp(std::lround(iq), 40L, 155L));
}

bool ReadNormModel(const QString& file, std::vector<TNormGroup>& groups, std::string& error) {
    groups.clear();
    for (const char* section : {"14-16", "17-21", "22-30", ">30"}) {
        TNormGroup g;
        g.Section = section;
        bool meanOk = false, spreadOk = false;
        g.Mean = Number(plat::ReadProfileString(file, section, "gemiddelde"), meanOk);
        g.Spread = Number(plat::ReadProfileString(file, section, "spreiding"), spreadOk);
        if (!meanOk || !spreadOk || !(g.Spread > 0) || !std::isfinite(g.Mean)) {
            error = std::string("section [") + section +
                    "] needs gemiddelde= and a positive spreiding=";
            return false;
        }
        groups.push_back(g);
    }
    return true;
}

QByteArray NormTableText(const std::vector<TNormGroup>& groups) {
    QByteArray text;
    for (const TNormGroup& g : groups) {
        text += "[" + QByteArray::fromStdString(g.Section) + "]\r\n";
        for (int raw = 0; raw <= kMaxRawScore; ++raw)
            text += QByteArray::number(raw) + "=" + QByteArray::number(NormIQ(g, raw)) + "\r\n";
        text += "\r\n";
    }
    return text;
}
