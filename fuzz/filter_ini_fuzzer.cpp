// "FILTER.ini" as found beside a recording: any bytes, then the filter it describes run over a
// short trace (band counts, N and fs straight from the file).

#include "app/dsp/filter.h"

#include "app/seams/prompts.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class SilentPrompts final : public zarno::Prompts {
public:
    void message(const QString&, const QString&, zarno::PromptIcon) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    zarno::OverwriteAnswer askOverwrite(const QString&, const QString&) override {
        return zarno::OverwriteAnswer::No;
    }
    void trace(const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    zarno::dsp::FilterSettings settings{};
    zarno::dsp::ParseFilterBytes(bytes, settings);
    if (!(settings.beta >= 1.0 && settings.beta <= 100.0))
        std::abort();
    // Long responses are right but slow; the short ones reach every branch.
    if (settings.halfLength > 512)
        settings.halfLength = settings.halfLength % 512;
    std::vector<double> trace(37, 1.0), out(37, 0.0);
    SilentPrompts prompts;
    zarno::dsp::FilterTrace(settings, trace, out, prompts);
    return 0;
}
