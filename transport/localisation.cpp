#include "transport/localisation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace velnet {

namespace {
std::atomic<int> g_language{0}; // 0: not read yet

// The settings file stands for the registry key "Software\Mervo\Common", which the library creates
// when it is missing; an empty file is what an empty key is here.
void EnsureSettingsFileExists(const QSettings& settings) {
    const QString path = settings.fileName();
    if (path.isEmpty() || QFileInfo::exists(path))
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    (void)file.open(QIODevice::WriteOnly | QIODevice::Append);
}
} // namespace

int ReadLocalLangValue() {
    QSettings settings("Mervo", "Common");
    EnsureSettingsFileExists(settings);
    bool ok = false;
    const int value = settings.value("Localization/LocalLang").toString().trimmed().toInt(&ok);
    return ok ? value : 2;
}

void ReloadLanguage() {
    // A program that has chosen its own language passes it on, so that the library's windows speak
    // as the program's do; otherwise the shared setting decides.
    const QByteArray given = qgetenv("VELNET_LANGUAGE").trimmed().toLower();
    if (given == "ru" || given == "en") {
        g_language.store(given == "ru" ? int(Language::Russian) : int(Language::English));
        return;
    }
    g_language.store(ReadLocalLangValue() == 1 ? int(Language::Russian) : int(Language::English));
}

Language CurrentLanguage() {
    if (g_language.load() == 0) {
        // The first texts may be wanted by several threads at once (engine and receive thread of a
        // core used without the library's load-time read): one of them reads the settings.
        static std::mutex firstRead;
        std::lock_guard lock(firstRead);
        if (g_language.load() == 0)
            ReloadLanguage();
    }
    return Language(g_language.load());
}

const char* Tr(const Text& text) {
    return CurrentLanguage() == Language::Russian ? text.ru : text.en;
}

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return {};
    return std::string(buffer, std::min<size_t>(size_t(n), sizeof buffer - 1));
}

} // namespace velnet
