#pragma once
// The message codes of the instrument's remote disk commands, shared by the program and the
// simulator that answers them.

#include <cstdint>

namespace zarno {

// Message codes of the remote disk commands.
enum DiskCode : uint32_t {
    kCodeDiskInfo = 65,
    kCodeReadDirectory = 66,
    kCodeReadDirectoryMore = 67,
    kCodeChangeDirectory = 68,
    kCodeRootDirectory = 69,
    kCodeMakeDirectory = 70,
    kCodeDelete = 71,
    kCodeReadBlock = 72,
    kCodeWriteBlock = 73,
    kCodeCreate = 74,
    kCodeOpen = 75,
    kCodeClose = 76,
};

// The status of an answer that the instrument will follow with more (listings, block reads).
constexpr uint16_t kStatusMore = 0xFFFF;

} // namespace zarno
