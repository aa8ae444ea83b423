#pragma once
// One directory of the served tree as the instrument lists it: the entries whose names fit 8.3,
// found by their short names, and their 32-byte FAT directory entries.

#include "device/fat_name.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

namespace zarno::device {

struct DiskEntry {
    ShortName name{};
    std::string diskName; // the entry's name in the served directory
    bool isDirectory = false;
    uint32_t size = 0;
    std::time_t modified = 0;
};

using DirEntryBytes = std::array<uint8_t, 32>;

// The regular files and directories of dir whose names fit 8.3, sorted by short name. Symbolic
// links, special files, files of 4 GiB or more and a second name with the same short form are left
// out, so that nothing reached through a listing lies outside the served tree. Nothing when dir
// cannot be read.
std::optional<std::vector<DiskEntry>> ScanDirectory(const std::filesystem::path& dir);

// The entry with this short name, if the directory holds one.
std::optional<DiskEntry> FindEntry(const std::filesystem::path& dir, const ShortName& name);

// The 32-byte directory entry of an entry.
DirEntryBytes EncodeEntry(const DiskEntry& entry);

// The "." or ".." entry of a subdirectory, dated like the directory it stands for.
DirEntryBytes EncodeDotEntry(const char* dots, const std::filesystem::path& standsFor);

// Bytes taken by the regular files under dir, symbolic links not followed.
uint64_t TreeBytes(const std::filesystem::path& dir);

} // namespace zarno::device
