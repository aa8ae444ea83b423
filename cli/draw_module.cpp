#include "cli/draw_module.h"

#include "app/link/velnet_api.h"
#include "cli/commands.h"

#include <dlfcn.h>

#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define ZARNO_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARNO_LEAK_CHECKED 1
#endif
#endif

#ifdef ZARNO_LEAK_CHECKED
// The leak checker takes its suppressions from the program only, not from a loaded module: the
// renderer's word on OSMesa (which never frees the state of the drawing buffers it has bound) is
// repeated here for the drawing module's OSMesa.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}
#endif

namespace zarno::cli {

int RunDrawCommand(const char* command, const QStringList& args) {
    const std::string folder = ExecutableDirectory();
    const std::string path = folder.empty() ? std::string(kDrawModuleName) : folder + "/" + kDrawModuleName;
    // Never closed: the module's Qt objects (the GUI application, fonts, the GL context) are torn
    // down by handlers that run at exit.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        PrintError(QStringLiteral("cannot load the drawing library: %1").arg(QString::fromLocal8Bit(dlerror())));
        return kExitFailed;
    }
    const auto entry = reinterpret_cast<DrawEntry>(dlsym(module, kDrawEntryName));
    if (!entry) {
        PrintError(QStringLiteral("%1 lacks its entry point %2").arg(QString::fromLocal8Bit(path.c_str()),
                                                                      QString::fromLatin1(kDrawEntryName)));
        return kExitFailed;
    }
    return entry(command, args);
}

} // namespace zarno::cli
