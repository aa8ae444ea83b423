#pragma once
// Names on the instrument's disk: what a name there may be, and the 12-byte forms sent for it.

#include <QString>

#include <array>
#include <cstdint>

namespace zarno {

// The instrument's 12-byte file name: 8 bytes of name and 3 of extension, space padded, and the
// attribute byte.
using DeviceName = std::array<uint8_t, 12>;

constexpr uint8_t kDirectoryAttribute = 0x10;
constexpr uint8_t kNewFileAttribute = 0x20;

// Whether the instrument's disk can hold an entry (file or directory) of this name: 1 to 8
// characters, then optionally "." and at most 3 more, each a letter (either case; the disk keeps it
// upper case), a digit or one of $%'-_@~`!(){}^#&. Blanks, "*", "/", "\", ":" and every other
// character are refused, and so are "", "." and "..".
bool FitsDeviceName(const QString& name);

// A directory name the instrument can hold: the directory form carries no extension, so no ".".
bool FitsDeviceDirectoryName(const QString& name);

// The name forms sent to the instrument.
DeviceName DirectoryDeviceName(const QString& directory);
// From a typed "NAME.EXT" (or "NAME"), taken as typed; the checks on it belong to the caller.
DeviceName NewFileDeviceName(const QString& typed);

} // namespace zarno
