#pragma once
// Which file a path names, for the checks a command makes before it writes or reads anything.
//
// An output that is one of the command's own inputs would be replaced by the command's result (a
// recording by its own SEG-Y, a recording by a picture of itself); two outputs of one run that land
// on one file would leave only the last. An input that is not a regular file (a FIFO, a device, a
// folder) has no size to check a format against and cannot be opened a second time without hanging
// or reading something else, so it is refused before it is opened at all.

#include <QString>
#include <QStringList>

#include <optional>

namespace zarno::io {

// True when a and b name one file. Two existing paths are one file when they have the same device
// and inode, whichever spelling, symbolic link or hard link leads to them. A path that does not exist
// yet is compared by where it would be made: its absolute path with the existing folders in it
// resolved (so "out/P.sgy", "out/./P.sgy" and a linked folder's "link/P.sgy" are one place).
bool SameFile(const QString& a, const QString& b);

// The first of inputs that output names (see SameFile), or nothing.
std::optional<QString> InputAt(const QString& output, const QStringList& inputs);

enum class InputKind {
    Regular,    // a regular file, or a symbolic link to one
    Missing,    // nothing by that name (or a link to nothing)
    NotRegular, // a FIFO, a socket, a device or a folder
};

// What path names, symbolic links followed. Only the file's status is looked at; it is not opened.
InputKind KindOfInput(const QString& path);

} // namespace zarno::io
