#pragma once
// The instrument's remote-disk command set, shared by the program that sends the commands and the
// simulator that answers them: message codes, status words, sizes and the offsets of the answers'
// fields. All numbers on the wire are little-endian (app/remotedisk/wire_fields.h reads and writes
// them); the 12-byte name forms are in app/remotedisk/device_name.h.

#include "app/remotedisk/device_name.h"

#include <cstddef>
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
constexpr uint16_t kFirstDiskCommand = kCodeDiskInfo;
constexpr uint16_t kLastDiskCommand = kCodeClose;

// Status words: the first two bytes of every answer the program reads. 0 is success everywhere; the
// failures mean different things for different commands, and the program turns each into the
// message of that command.
enum DiskStatus : uint16_t {
    kStatusOk = 0,
    kStatusNotAccessible = 1, // open/create: file not accessible
    kStatusBadHandle = 1,     // read/write/close: not a handle of an open file
    kStatusNotFound = 2,      // open: no such file
    kStatusWrongBlock = 2,    // write: not the block expected; the expected number follows
    kStatusCreateFailed = 2,  // create: the file could not be made
    kStatusIoError = 3,       // open: the file could not be opened; read: block out of range
    kStatusDiskFullOnCreate = 3,
    kStatusBadRequest = 4, // a payload too short or inconsistent for its command
    kStatusDiskFull = 5,   // write: no room for the block
    kStatusBadName = 6,    // a name that is not an 8.3 name of the current directory
    kStatusRefused = 7, // not allowed on this disk (a directory on a kind-1 device, ".." at the root,
                        // deleting a directory that is not empty)
    kStatusUnknownCommand = 0xFF,
    kStatusMore = 0xFFFF, // listings and block reads: the instrument follows with more
};

constexpr size_t kStatusSize = 2;
constexpr size_t kDeviceNameSize = sizeof(DeviceName); // name 8, extension 3, attribute 1
constexpr size_t kDirEntrySize = 32;
constexpr size_t kEntriesPerAnswer = 16; // 2 + 16 * 32 fits the program's 520-byte answer buffer
constexpr uint32_t kBlockSize = 512;
constexpr size_t kDiskInfoSize = 48;
constexpr size_t kVolumeLabelSize = 32;
constexpr uint32_t kWriteHeadSize = 10; // handle u32, block u32, length u16
// A write request always carries a whole block's room, the bytes past its length being filler.
constexpr uint32_t kWritePayload = kWriteHeadSize + kBlockSize;

// Offsets of the disk information answer.
constexpr size_t kInfoKindOffset = 6;
constexpr size_t kInfoTotalOffset = 8;
constexpr size_t kInfoFreeOffset = 12;
constexpr size_t kInfoLabelOffset = 16;

// Offsets inside a 32-byte directory entry (name and extension first, as in a device name).
constexpr size_t kEntryNameSize = 8;
constexpr size_t kEntryExtensionOffset = 8;
constexpr size_t kEntryExtensionSize = 3;
constexpr size_t kEntryAttrOffset = 11;
constexpr size_t kEntryCreateTimeOffset = 14;
constexpr size_t kEntryCreateDateOffset = 16;
constexpr size_t kEntryAccessDateOffset = 18;
constexpr size_t kEntryTimeOffset = 22;
constexpr size_t kEntryDateOffset = 24;
constexpr size_t kEntrySizeOffset = 28;

// Offsets of the fields after the status word: the handle of open and create, the length of open,
// the block number the instrument expects after a wrong block, the data of a block read.
constexpr size_t kAnswerHandleOffset = 2;
constexpr size_t kOpenLengthOffset = 6;
constexpr size_t kExpectedBlockOffset = 2;
constexpr size_t kReadDataOffset = 4;

} // namespace zarno
