#pragma once
// The "--version" and "--help" conventions shared by zarno, zarno-cli and zarno-device, so that the
// three programs answer alike and the man pages made from their help texts look alike.

#include "zarno_version.h"

#include <cstdio>
#include <cstring>

namespace zarno {

inline bool IsHelpOption(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

inline bool IsVersionOption(const char* arg) {
    return std::strcmp(arg, "--version") == 0;
}

// "zarno-cli (Zarno) 0.1.0": the GNU form, which man-page tools read.
inline int PrintVersion(const char* program) {
    std::printf("%s (Zarno) %s\n", program, ZARNO_VERSION);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

} // namespace zarno
