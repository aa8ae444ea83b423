#pragma once
// The formats' messages kept as plain strings (shared with the file operations and the command
// line) are marked for translation in the "zarno::Formats" context; this gives one in the program's
// language at the point it is shown.

#include <QCoreApplication>
#include <QString>

namespace zarno {

inline QString FormatsText(const char* source) {
    return QCoreApplication::translate("zarno", source);
}

} // namespace zarno
