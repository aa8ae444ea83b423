#pragma once
// The process-wide transfer-cancel flag: cleared when a transfer starts, set by a Cancel button,
// tested before each block.

#include <atomic>

namespace zarno {

inline std::atomic<bool> g_transferCancel{false};

inline void RequestTransferCancel() { g_transferCancel.store(true); }

} // namespace zarno
