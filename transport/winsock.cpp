#include "transport/winsock.h"

#include <mutex>

namespace velnet {

namespace {
std::mutex g_lock;
int g_starts = 0;
} // namespace

int32_t InitWinSockets() {
    std::lock_guard lock(g_lock);
    ++g_starts;
    return 0;
}

int32_t DoneWinSockets() {
    std::lock_guard lock(g_lock);
    if (g_starts == 0)
        return -1; // as an end without a start does: WSANOTINITIALISED
    --g_starts;
    return 0;
}

} // namespace velnet
