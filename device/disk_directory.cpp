#include "device/disk_directory.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace zarno::device {
using namespace wire;
namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

std::optional<DiskEntry> EntryOf(int dirFd, const char* diskName) {
    const auto name = ShortNameOf(diskName);
    if (!name)
        return std::nullopt;
    struct stat st {};
    if (fstatat(dirFd, diskName, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    const bool isDir = S_ISDIR(st.st_mode);
    if (!isDir && !S_ISREG(st.st_mode))
        return std::nullopt;
    if (!isDir && static_cast<uint64_t>(st.st_size) > UINT32_MAX)
        return std::nullopt;
    DiskEntry e;
    e.name = *name;
    e.diskName = diskName;
    e.isDirectory = isDir;
    e.size = isDir ? 0 : static_cast<uint32_t>(st.st_size);
    e.modified = st.st_mtime;
    return e;
}

void PutStamp(DirEntryBytes& b, std::time_t modified) {
    const FatStamp stamp = FatStampOf(modified);
    PutU16(b, kEntryCreateTimeOffset, stamp.time);
    PutU16(b, kEntryCreateDateOffset, stamp.date);
    PutU16(b, kEntryAccessDateOffset, stamp.date);
    PutU16(b, kEntryTimeOffset, stamp.time);
    PutU16(b, kEntryDateOffset, stamp.date);
}

} // namespace

std::optional<std::vector<DiskEntry>> ScanDirectory(const std::filesystem::path& dir) {
    std::unique_ptr<DIR, DirCloser> d(opendir(dir.c_str()));
    if (!d)
        return std::nullopt;
    std::vector<DiskEntry> out;
    while (const dirent* de = readdir(d.get())) {
        if (auto e = EntryOf(dirfd(d.get()), de->d_name))
            out.push_back(std::move(*e));
    }
    // Sorting by short name, then by disk name, keeps the listing stable and makes the first of
    // two names with the same short form (say "a.txt" and "A.TXT") the one that is shown.
    std::sort(out.begin(), out.end(), [](const DiskEntry& a, const DiskEntry& b) {
        return a.name != b.name ? a.name < b.name : a.diskName < b.diskName;
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const DiskEntry& a, const DiskEntry& b) { return a.name == b.name; }),
              out.end());
    return out;
}

std::optional<DiskEntry> FindEntry(const std::filesystem::path& dir, const ShortName& name) {
    const auto entries = ScanDirectory(dir);
    if (!entries)
        return std::nullopt;
    const auto it =
        std::find_if(entries->begin(), entries->end(), [&](const DiskEntry& e) { return e.name == name; });
    if (it == entries->end())
        return std::nullopt;
    return *it;
}

DirEntryBytes EncodeEntry(const DiskEntry& entry) {
    DirEntryBytes b{};
    std::memcpy(b.data(), entry.name.data(), entry.name.size());
    b[kEntryAttrOffset] = entry.isDirectory ? kDirectoryAttribute : kNewFileAttribute; // files carry the archive bit
    PutStamp(b, entry.modified);
    PutU32(b, kEntrySizeOffset, entry.size);
    return b;
}

DirEntryBytes EncodeDotEntry(const char* dots, const std::filesystem::path& standsFor) {
    DirEntryBytes b{};
    std::memset(b.data(), ' ', 11);
    std::memcpy(b.data(), dots, std::min<size_t>(std::strlen(dots), 8));
    b[kEntryAttrOffset] = kDirectoryAttribute;
    struct stat st {};
    PutStamp(b, stat(standsFor.c_str(), &st) == 0 ? st.st_mtime : 0);
    return b;
}

uint64_t TreeBytes(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    uint64_t total = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        const auto status = it->symlink_status(sec);
        if (!sec && fs::is_regular_file(status)) {
            const auto size = it->file_size(sec);
            if (!sec)
                total += size;
        }
    }
    return total;
}

} // namespace zarno::device
