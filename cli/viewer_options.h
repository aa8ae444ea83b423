#pragma once
// The command line of the commands that open recordings as the viewer does (render, report): one
// parser for both, so that an option they share means the same in each.

#include "app/i18n/language.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>
#include <vector>

namespace zarno::cli {

// An option with a value (names separated by commas, as "o" or "width") and a switch.
QCommandLineOption ValueOption(const QString& names, const QString& valueName);
QCommandLineOption FlagOption(const QString& name);
// "--marker SAMPLE", up to five times: the first given is the current marker, the second the
// previous one.
QCommandLineOption MarkerOption();
QCommandLineOption VelocityOption();

// Parses the command's arguments (without the program or command name); false for an unknown
// option or an option without its value.
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& args);

// The option's integer within min … max; its default when not given; nothing for any other text.
std::optional<int> IntOption(const QCommandLineParser& parser, const QCommandLineOption& option, int min, int max,
                             int fallback);
// The markers given: sample indices 0 … INT_MAX, at most five; nothing for any other.
std::optional<std::vector<int>> MarkerOptions(const QCommandLineParser& parser);
// The wave velocity given, 3600 m/s when none; nothing when it is not a number.
std::optional<double> VelocityValue(const QCommandLineParser& parser);
// "--report-lang ru|en": the report's own language, the program's when not given; nothing for
// another value.
QCommandLineOption ReportLanguageOption();
std::optional<Language> ReportLanguageValue(const QCommandLineParser& parser);

} // namespace zarno::cli
