#pragma once
// The checks a name passes before it becomes a file: a name from a panel or from the instrument's
// listing turned into a computer path. What a name on the instrument may be is decided in
// app/remotedisk/device_name.h.

#include <QString>

namespace zarno {

// A name that names one entry of a directory and nothing else: not empty, not "." or "..", no "/"
// and no NUL. Names of the instrument's listing are outside input and pass this before any file of
// the computer is made from them.
bool IsPlainFileName(const QString& name);

// The computer path of name in directory, or an empty string when name is not a plain name.
QString LocalTargetPath(const QString& directory, const QString& name);

// Whether name ends in ".sgy" with its first "." as the fourth character from the end ("DATA.sgy",
// not "A.B.sgy").
bool IsSgyTargetName(const QString& name);
// Whether name ends in ".ddb" with its first "." as the fourth character from the end.
bool IsDdbFileName(const QString& name);

} // namespace zarno
