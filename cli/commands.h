#pragma once
// The commands of zarno-cli. Each lives in its own file and takes the arguments after its name;
// it returns the process exit status (0 success, 1 failure, 2 wrong usage).

#include <QStringList>

#include <cmath>
#include <optional>

namespace zarno::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    const char* name;
    const char* usage; // the arguments, for the help text
    const char* summary;
    int (*run)(const QStringList& args);
    // The command makes its own application object (the drawing commands a drawing one, device an
    // event loop's); the others are given a plain one, which carries the user's language.
    bool ownApplication = false;
};

int RunConvert(const QStringList& args);
int RunHeaders(const QStringList& args);
int RunDevice(const QStringList& args);
int RunMeasureCommand(const QStringList& args);
int RunSpectrumCommand(const QStringList& args);
int RunSiteCommand(const QStringList& args);

// An integer argument within min … max; nothing for any other text.
inline std::optional<int> IntArgument(const QString& text, int min, int max) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok && v >= min && v <= max ? std::optional<int>(v) : std::nullopt;
}

// A wave velocity in m/s: a finite number above 0; nothing for any other text ("nan" and "inf"
// parse as numbers, but give no length at all, and 0 or less gives no pile).
inline std::optional<double> VelocityArgument(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && v > 0.0 ? std::optional<double>(v) : std::nullopt;
}

// Prints "zarno-cli: <text>" on standard error.
void PrintError(const QString& text);
// Prints one line on standard output.
void PrintLine(const QString& text);

} // namespace zarno::cli
