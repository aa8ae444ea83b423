// A library built without Qt Widgets has no windows: the diagnostics window cannot be shown and the
// serial port has no settings dialog. Everything else works as in the full build.

#include "transport/com_settings.h"
#include "transport/debug_window.h"

namespace velnet {

struct DebugWindowHost::Impl {};

DebugWindowHost::DebugWindowHost(TUDPDebugWin&) {}
DebugWindowHost::~DebugWindowHost() = default;

bool DebugWindowHost::Show(bool visible) {
    return !visible;
}

bool DebugWindowHost::SetParent(void*) {
    return false;
}

void DebugWindowHost::SetBounds(const WindowBounds&) {}

void DebugWindowHost::Close() {}

bool EditComSettingsInDialog(void*, const std::string&, DCB&) {
    return false;
}

} // namespace velnet
