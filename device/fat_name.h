#pragma once
// Short (8.3) names and FAT dates as the instrument's disk shows them, and the mapping between a
// name on the served directory and the 11 name bytes of a directory entry.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zarno::device {

// Name (8) and extension (3), upper case, padded with spaces: the key under which an entry is found.
using ShortName = std::array<char, 11>;

// The short name of a file or directory of the served directory, or nothing when the name does not
// fit 8.3 (too long, two dots, a leading dot, characters a FAT name cannot hold).
std::optional<ShortName> ShortNameOf(std::string_view diskName);

// The short name carried in the first 11 bytes of a device file name sent by the host, or nothing
// when those bytes are not a valid 8.3 name (empty, embedded blanks, "/", "\", "." or other
// characters a FAT name cannot hold). Lower-case letters are taken as upper case; blanks and NULs
// pad the fields.
std::optional<ShortName> ParseShortName(std::span<const uint8_t, 11> bytes);

// The name under which a new entry with this short name is made on the served directory:
// "NAME.EXT", or "NAME" without an extension.
std::string DiskNameOf(const ShortName& name);

// Whether the 11 name bytes are "." or ".." (as given in dots) with a blank extension: the names a
// host uses for the current and the parent directory, which are not short names of their own.
bool IsDotsName(std::span<const uint8_t, 11> bytes, std::string_view dots);

// FAT packed time (hours, minutes, seconds / 2) and date (year - 1980, month, day) of a moment, in
// local time as the instrument's clock would show it; moments outside 1980..2107 are clamped.
struct FatStamp {
    uint16_t time = 0;
    uint16_t date = 0;
};
FatStamp FatStampOf(std::time_t moment);

} // namespace zarno::device
