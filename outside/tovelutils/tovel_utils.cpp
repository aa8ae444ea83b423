// The library's three entry points. The curve is computed here; the editor and the question are
// passed to the editor module (editor_module.h), loaded from beside this library on first use.

#include "outside/tovelutils/editor_module.h"
#include "outside/tovelutils/gain_curve.h"
#include "outside/tovelutils/tovel_utils.h"

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace {

// The module in this library's own folder (where the build and the package put both), else wherever
// the loader finds it; null when neither loads.
void* EditorModule() {
    static void* const module = [] {
        Dl_info self{};
        if (dladdr(reinterpret_cast<void*>(&TovelUtils1), &self) && self.dli_fname) {
            const std::string path = self.dli_fname;
            const std::string::size_type slash = path.rfind('/');
            if (slash != std::string::npos)
                if (void* handle = dlopen((path.substr(0, slash + 1) + tovel::kEditorModuleName).c_str(),
                                          RTLD_NOW | RTLD_LOCAL))
                    return handle;
        }
        return dlopen(tovel::kEditorModuleName, RTLD_NOW | RTLD_LOCAL);
    }();
    return module;
}

// The module's entry named name; null, with the reason on standard error, when it cannot be had.
// The callers then answer as a build without windows does: nothing changes.
template <typename Entry> Entry EditorEntry(const char* name) {
    void* const module = EditorModule();
    void* const entry = module ? dlsym(module, name) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        std::fprintf(stderr, "TovelUtils: нет модуля окон %s (%s), ВАРУ не изменена\n", tovel::kEditorModuleName,
                     why ? why : name);
    }
    return reinterpret_cast<Entry>(entry);
}

} // namespace

extern "C" int32_t TovelUtils1(int32_t first, int32_t second, int32_t ns, int32_t, int32_t, double* curve) {
    if (ns < 1 || !curve)
        return 0;
    tovel::FillCurve(first, second, curve, ns);
    return 1;
}

extern "C" int32_t TovelUtils2(int32_t* first, int32_t* second, int32_t ns, double* curve) {
    static const auto edit = EditorEntry<tovel::EditEntry>(tovel::kEditName);
    return edit ? edit(first, second, ns, curve) : 0;
}

extern "C" int32_t TovelUtils3(void* window) {
    static const auto ask = EditorEntry<tovel::AskEntry>(tovel::kAskName);
    return ask ? ask(window) : 0;
}
