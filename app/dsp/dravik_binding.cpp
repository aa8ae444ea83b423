#include "app/dsp/dravik_binding.h"

#include "outside/dravik/dravik.h"
#include "outside/dravik/dravik_exports.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <dlfcn.h>

namespace zarno::dsp {

static_assert(kDravikExportCount == kDravikNameCount);
// The library's record and ours are the same 2452 bytes.
static_assert(sizeof(DravikFilterRecord) == sizeof(FilterSettings));

namespace {

using SelectFiltAFn = int32_t (*)(DravikFilterRecord*);

QString ProgramDirectory() {
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return QFileInfo(self.symLinkTarget()).absolutePath();
}

void* Open(const QString& library) {
    if (library.contains(QLatin1Char('/')))
        return dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
    const QString beside = ProgramDirectory() + QLatin1Char('/') + library;
    if (QFileInfo::exists(beside))
        if (void* handle = dlopen(QFile::encodeName(beside).constData(), RTLD_NOW | RTLD_LOCAL))
            return handle;
    return dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

const std::array<const char*, kDravikNameCount>& DravikNames() {
#define ZARNO_DRAVIK_NAME(name) #name,
    static const std::array<const char*, kDravikNameCount> names = {DRAVIK_EXPORTS(ZARNO_DRAVIK_NAME)};
#undef ZARNO_DRAVIK_NAME
    return names;
}

bool DravikBinding::Bind(const QString& library) {
    Unbind();
    m_missing = "";
    m_handle = Open(library);
    if (!m_handle)
        return false;
    for (std::size_t i = 0; i < DravikNames().size(); ++i) {
        m_entries[i] = dlsym(m_handle, DravikNames()[i]);
        if (!m_entries[i]) {
            m_missing = DravikNames()[i];
            Unbind();
            return false;
        }
    }
    return true;
}

void DravikBinding::Unbind() {
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
    m_entries.fill(nullptr);
}

bool DravikBinding::SelectFiltA(FilterSettings& settings) const {
    if (!m_handle)
        return false;
    const auto select = reinterpret_cast<SelectFiltAFn>(m_entries.back());
    select(reinterpret_cast<DravikFilterRecord*>(&settings));
    return true;
}

bool ChooseFilterSettings(FilterSettings& settings, Prompts& prompts, const QString& library) {
    DravikBinding dravik;
    if (!dravik.Bind(library)) {
        prompts.message(
            QCoreApplication::translate("zarno::Dsp", "Невозможно загрузить библиотеку фильтрации!"),
            QCoreApplication::translate("zarno::Dsp", "Ошибка"), PromptIcon::Stop);
        return false;
    }
    dravik.SelectFiltA(settings);
    dravik.Unbind();
    return true;
}

} // namespace zarno::dsp
