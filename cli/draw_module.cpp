#include "cli/draw_module.h"

#include "app/link/velnet_api.h"
#include "cli/commands.h"

#include <dlfcn.h>

#include <string>

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
