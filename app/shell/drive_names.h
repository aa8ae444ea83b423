#pragma once
// The drives as the program names them: the computer's first drive, in the role that "c:\" plays on
// the instrument's home platform, and the instrument's drive, which keeps the instrument's own
// notation ("z:\", "z:\REC\DATA.DDB", "\" between names, the drive letter in either case).

#include <QString>

namespace zarno {

inline const QString kFirstDrive = QStringLiteral("/");
inline const QString kDeviceDrive = QStringLiteral("z:\\");
// The drive without its root separator: every instrument path begins with it.
inline const QString kDeviceDriveName = QStringLiteral("z:");

// Whether a path (a panel's, or an entry's full path) lies on the instrument's drive.
inline bool IsDevicePath(const QString& path) {
    return path.startsWith(kDeviceDriveName, Qt::CaseInsensitive);
}

} // namespace zarno
