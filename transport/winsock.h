#pragma once
// The start and end of the socket layer. POSIX sockets need neither; a start count keeps the
// Windows Sockets contract (every end matches a start) so that callers behave as they would there.

#include <cstdint>

namespace velnet {

int32_t InitWinSockets();
int32_t DoneWinSockets();

} // namespace velnet
