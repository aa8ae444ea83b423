#pragma once
// The run-time binding of the filter library: load it by name, resolve all its names (the settings
// dialog SelectFiltA last), call the dialog, unload. An incomplete library is refused whole.

#include "app/dsp/filter_settings.h"
#include "app/seams/prompts.h"

#include <QString>

#include <array>
#include <cstdint>

namespace zarno::dsp {

inline constexpr char kDravikLibraryName[] = "libDravik.so";
inline constexpr int kDravikNameCount = 150;

class DravikBinding {
public:
    DravikBinding() = default;
    DravikBinding(const DravikBinding&) = delete;
    DravikBinding& operator=(const DravikBinding&) = delete;
    ~DravikBinding() { Unbind(); }

    // A bare name is looked for beside the program first, then on the usual library path; a name
    // with a "/" is loaded from there. False (and nothing kept) when the library is missing or
    // lacks one of the names.
    bool Bind(const QString& library = QString::fromLatin1(kDravikLibraryName));
    void Unbind();
    bool IsBound() const { return m_handle != nullptr; }
    // The name that was missing when the last Bind failed on it ("" otherwise).
    const char* MissingName() const { return m_missing; }

    // Calls SelectFiltA on the record; false when not bound.
    bool SelectFiltA(FilterSettings& settings) const;

private:
    void* m_handle = nullptr;
    std::array<void*, kDravikNameCount> m_entries{};
    const char* m_missing = "";
};

// The names in the order they are resolved.
const std::array<const char*, kDravikNameCount>& DravikNames();

// The filter settings command's library part: bind, let the user edit the record, unbind. When
// binding fails the user is told "Невозможно загрузить библиотеку фильтрации!" and the record is
// left unchanged; the result says whether the dialog ran.
bool ChooseFilterSettings(FilterSettings& settings, Prompts& prompts,
                          const QString& library = QString::fromLatin1(kDravikLibraryName));

} // namespace zarno::dsp
