#pragma once
// A private settings folder for one test program: XDG_CONFIG_HOME points at a fresh temporary
// directory, so QSettings("Mervo", ...) reads and writes there and never the user's own files.
// Qt fixes the settings paths on the first QSettings, so make this before any settings are touched.

#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <optional>

namespace zarno::testing {

class TempConfigHome {
public:
    TempConfigHome() { setenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit().constData(), 1); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Writes (or, with nullopt, removes) the transport library's language value.
inline void SetLocalLang(std::optional<QString> value) {
    QSettings settings("Mervo", "Common");
    if (value)
        settings.setValue("Localization/LocalLang", *value);
    else
        settings.remove("Localization/LocalLang");
    settings.sync();
}

} // namespace zarno::testing
