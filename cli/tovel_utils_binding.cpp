// zarno-cli binds libTovelUtils.so when a command first needs the gain curve, not at start-up: the
// library brings Qt's widgets (for its editor), and with them the GUI, GL and font libraries, which
// the commands that never load a recording (convert, headers, device, --version) have no use for.
// These definitions stand in for the library's three entry points inside zarno-cli; the program is
// linked with --as-needed, so the library itself is no longer among the ones loaded at start.

#include "app/link/velnet_api.h"
#include "outside/tovelutils/tovel_utils.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char kLibraryName[] = "libTovelUtils.so";

// The entry named name, from the library beside the program (where the build and the package put
// it), else wherever the loader finds it. The gain curve is part of every load of a recording: without
// the library nothing can go on, as when the program was linked with it.
void* Entry(const char* name) {
    static void* const library = [] {
        const std::string folder = zarno::ExecutableDirectory();
        void* handle = folder.empty() ? nullptr
                                      : dlopen((folder + "/" + kLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
        return handle ? handle : dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    }();
    void* entry = library ? dlsym(library, name) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        std::fprintf(stderr, "zarno-cli: cannot load %s from %s: %s\n", name, kLibraryName,
                     why ? why : "not found");
        std::exit(1);
    }
    return entry;
}

template <typename F> F Bound(const char* name) {
    return reinterpret_cast<F>(Entry(name));
}

} // namespace

extern "C" {

int32_t TovelUtils1(int32_t first, int32_t second, int32_t ns, int32_t a, int32_t b, double* curve) {
    static const auto entry = Bound<decltype(&TovelUtils1)>("TovelUtils1");
    return entry(first, second, ns, a, b, curve);
}

int32_t TovelUtils2(int32_t* first, int32_t* second, int32_t ns, double* curve) {
    static const auto entry = Bound<decltype(&TovelUtils2)>("TovelUtils2");
    return entry(first, second, ns, curve);
}

int32_t TovelUtils3(void* window) {
    static const auto entry = Bound<decltype(&TovelUtils3)>("TovelUtils3");
    return entry(window);
}
}
