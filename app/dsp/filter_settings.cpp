#include "app/dsp/filter_settings.h"

#include <cmath>
#include <cstring>

namespace zarno::dsp {

FilterSettings& ProgramFilterSettings() {
    static FilterSettings settings{};
    return settings;
}

void SetFilterDefaults(FilterSettings& s) {
    s.fs = 100000.0;
    s.halfLength = 128;
    s.bandCount = 1;
    s.dialogKind = 2;
    s.beta = 0.54;
    s.dialogParams[0] = 0.46;
    s.dialogParams[1] = 0.0;
    s.dialogParams[2] = 0.0;
    s.bands[0] = FilterBand{10.0, 0.0, 1.0};
}

void BoundBeta(FilterSettings& s) {
    const double beta = s.beta;
    if (!(beta > 1.0))
        s.beta = 1.0;
    else if (beta >= 100.0)
        s.beta = 100.0;
}

void ParseFilterBytes(const QByteArray& bytes, FilterSettings& s) {
    if (bytes.size() >= qsizetype{sizeof(FilterSettings)})
        std::memcpy(&s, bytes.constData(), sizeof(FilterSettings));
    else
        SetFilterDefaults(s);
    BoundBeta(s);
}

void LoadFilterFile(const QString& dir, FilterSettings& s, MissingFile missing) {
    const SettingsRead read = ReadSettingsFile(dir, kFilterFileName, sizeof(FilterSettings), missing);
    if (read.outcome == SettingsRead::Existed)
        ParseFilterBytes(read.bytes, s);
    else
        SetFilterDefaults(s);
}

QByteArray FilterBytes(const FilterSettings& s) {
    return QByteArray(reinterpret_cast<const char*>(&s), sizeof(FilterSettings));
}

bool SaveFilterFile(const QString& dir, const FilterSettings& s) {
    return WriteSettingsFile(dir, kFilterFileName, FilterBytes(s));
}

} // namespace zarno::dsp
