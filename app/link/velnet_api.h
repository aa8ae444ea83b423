#pragma once
// The transport library as its hosts see it: libvelnet.so loaded by name at run time and its 31
// exports bound by name. Zarno, zarno-device, zarno-cli and the tests all bind it through this one
// table, never by linking the library.

#include "transport/velnet.h"

#include <string>

namespace zarno {

// The exports in the order in which they are resolved.
#define ZARNO_VELNET_EXPORTS(X)                                                                              \
    X(InitWinSockets)                                                                                          \
    X(DoneWinSockets)                                                                                          \
    X(IsValidTransport)                                                                                        \
    X(CreateTransport)                                                                                         \
    X(DestroyTransport)                                                                                        \
    X(SetTransportParent)                                                                                      \
    X(SetTransportBounds)                                                                                      \
    X(ShowTransport)                                                                                           \
    X(SetTransportRemoteAddr)                                                                                  \
    X(GetTransportRemoteAddr)                                                                                  \
    X(SetTransportRemoteAddrStr)                                                                               \
    X(GetTransportRemoteAddrStr)                                                                               \
    X(SetTransportRemotePort)                                                                                  \
    X(GetTransportRemotePort)                                                                                  \
    X(GetClientCount)                                                                                          \
    X(ConnectClient)                                                                                           \
    X(RemoveClient)                                                                                            \
    X(SelectClient)                                                                                            \
    X(DeselectClient)                                                                                          \
    X(WaitAndSendMessage)                                                                                      \
    X(SendAnswer)                                                                                              \
    X(CancelTransport)                                                                                         \
    X(Synchronize)                                                                                             \
    X(ExtractMessageID)                                                                                        \
    X(BuildMessageID)                                                                                          \
    X(IncMessageIDDWORD)                                                                                       \
    X(IncMessageID)                                                                                            \
    X(RealDataLength)                                                                                          \
    X(BuildDataLength)                                                                                         \
    X(ClientServerBufLength)                                                                                   \
    X(UDPBufLength)

class VelnetApi {
public:
    static constexpr const char* kLibraryName = "libvelnet.so";

    VelnetApi() = default;
    ~VelnetApi() { Unload(); }
    VelnetApi(const VelnetApi&) = delete;
    VelnetApi& operator=(const VelnetApi&) = delete;

    // Loads the library from the executable's own folder first, then by the usual search
    // (LD_LIBRARY_PATH, RUNPATH, the loader's cache), and binds all 31 names. A library that lacks
    // any of them is unloaded again and refused. On failure `error` says why.
    bool Load(std::string* error = nullptr);
    // The same with an explicit path (tests load a library that lacks a name).
    bool LoadFrom(const std::string& path, std::string* error = nullptr);
    void Unload();
    bool IsLoaded() const { return m_library != nullptr; }

#define ZARNO_VELNET_POINTER(name) decltype(&::name) name = nullptr;
    ZARNO_VELNET_EXPORTS(ZARNO_VELNET_POINTER)
#undef ZARNO_VELNET_POINTER

private:
    bool Bind(std::string* error);
    void* m_library = nullptr;
};

// The folder of the running executable ("" when it cannot be told).
std::string ExecutableDirectory();

} // namespace zarno
