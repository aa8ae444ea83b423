#include "cli/viewer_options.h"

#include "app/i18n/translation.h"
#include "app/viewer/view_state.h"
#include "cli/commands.h"

#include <limits>

namespace zarno::cli {

namespace {

constexpr double kDefaultVelocity = 3600.0;

} // namespace

QCommandLineOption ValueOption(const QString& names, const QString& valueName) {
    return QCommandLineOption(names.split(QLatin1Char(',')), QString(), valueName);
}

QCommandLineOption FlagOption(const QString& name) {
    return QCommandLineOption(name);
}

QCommandLineOption MarkerOption() {
    return ValueOption(QStringLiteral("marker"), QStringLiteral("SAMPLE"));
}

QCommandLineOption VelocityOption() {
    return ValueOption(QStringLiteral("velocity"), QStringLiteral("V"));
}

bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args) {
    return parser.parse(QStringList{QStringLiteral("zarno-cli")} + args);
}

std::optional<int> IntOption(const QCommandLineParser& parser, const QCommandLineOption& option, int min, int max,
                             int fallback) {
    if (!parser.isSet(option))
        return fallback;
    return IntArgument(parser.value(option), min, max);
}

std::optional<std::vector<int>> MarkerOptions(const QCommandLineParser& parser) {
    const QStringList given = parser.values(MarkerOption());
    if (given.size() > kMarkerCount)
        return std::nullopt;
    std::vector<int> markers;
    for (const QString& text : given) {
        const std::optional<int> sample = IntArgument(text, 0, std::numeric_limits<int>::max());
        if (!sample)
            return std::nullopt;
        markers.push_back(*sample);
    }
    return markers;
}

std::optional<double> VelocityValue(const QCommandLineParser& parser) {
    if (!parser.isSet(VelocityOption()))
        return kDefaultVelocity;
    return VelocityArgument(parser.value(VelocityOption()));
}

QCommandLineOption ReportLanguageOption() {
    return ValueOption(QStringLiteral("report-lang"), QStringLiteral("ru|en"));
}

std::optional<Language> ReportLanguageValue(const QCommandLineParser& parser) {
    if (!parser.isSet(ReportLanguageOption()))
        return CurrentLanguage();
    return ParseLanguageCode(parser.value(ReportLanguageOption()));
}

} // namespace zarno::cli
