#include "app/link/velnet_api.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace zarno {

std::string ExecutableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

bool VelnetApi::Load(std::string* error) {
    const std::string beside = ExecutableDirectory() + "/" + kLibraryName;
    std::error_code ec;
    if (!ExecutableDirectory().empty() && std::filesystem::exists(beside, ec))
        return LoadFrom(beside, error);
    return LoadFrom(kLibraryName, error);
}

bool VelnetApi::LoadFrom(const std::string& path, std::string* error) {
    Unload();
    m_library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        if (error)
            *error = dlerror();
        return false;
    }
    if (Bind(error))
        return true;
    Unload();
    return false;
}

bool VelnetApi::Bind(std::string* error) {
#define ZARNO_VELNET_RESOLVE(name)                                                                             \
    name = reinterpret_cast<decltype(name)>(dlsym(m_library, #name));                                         \
    if (!name) {                                                                                               \
        if (error)                                                                                             \
            *error = std::string("libvelnet.so lacks the export ") + #name;                                    \
        return false;                                                                                          \
    }
    ZARNO_VELNET_EXPORTS(ZARNO_VELNET_RESOLVE)
#undef ZARNO_VELNET_RESOLVE
    return true;
}

void VelnetApi::Unload() {
    if (m_library)
        dlclose(m_library);
    m_library = nullptr;
#define ZARNO_VELNET_CLEAR(name) name = nullptr;
    ZARNO_VELNET_EXPORTS(ZARNO_VELNET_CLEAR)
#undef ZARNO_VELNET_CLEAR
}

} // namespace zarno
