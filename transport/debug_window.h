#pragma once
// The diagnostics window of a transport as its owner sees it. The widgets exist only in a process
// with a Qt GUI application, on that application's thread, and only once the host has shown or
// parented the window; the library never creates an application itself. Without one, showing does
// nothing and reports failure. Calls may come from any thread: off the window's thread they are
// handed over to it.

#include <cstdint>
#include <memory>

namespace velnet {

class TUDPDebugWin;

struct WindowBounds {
    int32_t left = 0, top = 0, width = 484, height = 351;
};

class DebugWindowHost {
public:
    explicit DebugWindowHost(TUDPDebugWin& owner);
    ~DebugWindowHost();
    DebugWindowHost(const DebugWindowHost&) = delete;
    DebugWindowHost& operator=(const DebugWindowHost&) = delete;

    // False when there is no GUI application (hiding then succeeds: there is nothing to hide).
    bool Show(bool visible);
    // A borderless child of `parent` (a QWidget), shown; a null parent makes it a window of its own.
    bool SetParent(void* parent);
    void SetBounds(const WindowBounds& bounds);
    // Cuts the widgets off from the owner and lets them go; the owner calls it first when it ends.
    void Close();

    struct Impl;

private:
    std::shared_ptr<Impl> m_impl;
};

} // namespace velnet
