#pragma once
// The instrument's remote-disk command set as the instrument answers it: message codes, payload and
// answer layouts, and the status words this simulator uses. All numbers are little-endian.

#include "app/remotedisk/disk_codes.h"

#include <cstddef>
#include <cstdint>

namespace zarno::device {

constexpr uint16_t kFirstDiskCommand = kCodeDiskInfo;
constexpr uint16_t kLastDiskCommand = kCodeClose;

// Status words. The client reads 0 as success; 0xFFFF means "more entries follow" in a listing.
// The failure numbers follow what the client turns into its messages for each command.
enum DiskStatus : uint16_t {
    kStatusOk = 0,
    kStatusNotAccessible = 1, // open/create: file not accessible; block commands: bad handle
    kStatusNotFound = 2,      // open: no such file
    kStatusWrongBlock = 2,    // write: not the block expected; the expected number follows
    kStatusCreateFailed = 2,  // create: the file could not be made
    kStatusBadHandle = 1,
    kStatusIoError = 3, // open: the file could not be opened; read: block out of range
    kStatusDiskFullOnCreate = 3,
    kStatusBadRequest = 4, // a payload too short or inconsistent for its command
    kStatusDiskFull = 5,   // write: no room for the block
    kStatusBadName = 6,    // a name that is not an 8.3 name of the current directory
    kStatusRefused = 7,    // not allowed on this disk (a directory on a kind-1 device, ".." at the root)
    kStatusUnknownCommand = 0xFF,
    kStatusMoreFollow = 0xFFFF,
};

constexpr size_t kDeviceNameSize = 12; // name 8, extension 3, attribute 1
constexpr size_t kDirEntrySize = 32;
constexpr size_t kEntriesPerAnswer = 16; // 2 + 16 * 32 fits the client's 520-byte answer buffer
constexpr size_t kBlockSize = 512;
constexpr size_t kDiskInfoSize = 48;
constexpr size_t kVolumeLabelSize = 32;
constexpr size_t kWriteHeadSize = 10; // handle u32, block u32, length u16

constexpr uint8_t kAttrDirectory = 0x10;
constexpr uint8_t kAttrArchive = 0x20;

// Offsets of the disk information answer.
constexpr size_t kInfoKindOffset = 6;
constexpr size_t kInfoTotalOffset = 8;
constexpr size_t kInfoFreeOffset = 12;
constexpr size_t kInfoLabelOffset = 16;

// Offsets inside a 32-byte directory entry.
constexpr size_t kEntryAttrOffset = 11;
constexpr size_t kEntryCreateTimeOffset = 14;
constexpr size_t kEntryCreateDateOffset = 16;
constexpr size_t kEntryAccessDateOffset = 18;
constexpr size_t kEntryTimeOffset = 22;
constexpr size_t kEntryDateOffset = 24;
constexpr size_t kEntrySizeOffset = 28;

} // namespace zarno::device
