#include "device/disk_server.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"
#include "app/shell/drive_names.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zarno::device {
using namespace wire;
namespace fs = std::filesystem;
namespace {

std::vector<uint8_t> Status(uint16_t status) {
    std::vector<uint8_t> out;
    AppendU16(out, status);
    return out;
}

// The short name in the first 11 bytes of a 12-byte device file name.
std::optional<ShortName> NameIn(std::span<const uint8_t> payload) {
    if (payload.size() < 11)
        return std::nullopt;
    return ParseShortName(payload.first<11>());
}

uint32_t ClampU32(uint64_t v) {
    return static_cast<uint32_t>(std::min<uint64_t>(v, UINT32_MAX));
}

bool IsDiskFullError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Writes the whole buffer at offset; false (with errno) when the file system refuses.
bool WriteAll(int fd, std::span<const uint8_t> data, off_t offset) {
    while (!data.empty()) {
        const ssize_t n = pwrite(fd, data.data(), data.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data = data.subspan(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

ssize_t ReadUpTo(int fd, uint8_t* out, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = pread(fd, out + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

DiskServer::DiskServer(DiskServerOptions options) : m_options(std::move(options)) {}

DiskServer::~DiskServer() {
    for (auto& [handle, file] : m_files)
        close(file.fd);
}

std::vector<uint8_t> DiskServer::Handle(uint16_t code, std::span<const uint8_t> payload) {
    switch (code) {
    case kCodeDiskInfo:
        return DiskInfo();
    case kCodeReadDirectory:
        return ListFirst();
    case kCodeReadDirectoryMore:
        return ListNext();
    case kCodeChangeDirectory:
        return ChangeDir(payload);
    case kCodeRootDirectory:
        m_cwd.clear();
        m_listingActive = false;
        return Status(kStatusOk);
    case kCodeMakeDirectory:
        return MakeDir(payload);
    case kCodeDelete:
        return Delete(payload);
    case kCodeReadBlock:
        return ReadBlock(payload);
    case kCodeWriteBlock:
        return WriteBlock(payload);
    case kCodeCreate:
        return CreateFile(payload);
    case kCodeOpen:
        return OpenFileCmd(payload);
    case kCodeClose:
        return CloseFile(payload);
    default:
        return Status(kStatusUnknownCommand);
    }
}

std::string DiskServer::CurrentPath() const {
    std::string out = zarno::kDeviceDrive.toStdString();
    for (size_t i = 0; i < m_cwd.size(); ++i)
        out += (i ? "\\" : "") + m_cwd[i];
    return out;
}

fs::path DiskServer::CurrentDir() const {
    fs::path p = m_options.root;
    for (const auto& name : m_cwd)
        p /= name;
    return p;
}

uint64_t DiskServer::UsedBytes() {
    if (!m_usedBytes)
        m_usedBytes = TreeBytes(m_options.root);
    return *m_usedBytes;
}

std::optional<uint64_t> DiskServer::FreeBytes() {
    if (m_options.diskSize)
        return *m_options.diskSize - std::min(*m_options.diskSize, UsedBytes());
    return std::nullopt;
}

std::vector<uint8_t> DiskServer::DiskInfo() {
    std::vector<uint8_t> out(kDiskInfoSize, 0);
    uint64_t total = 0;
    uint64_t free = 0;
    if (m_options.diskSize) {
        m_usedBytes.reset(); // files may have changed behind the server's back
        total = *m_options.diskSize;
        free = *FreeBytes();
    } else {
        struct statvfs sv {};
        if (statvfs(m_options.root.c_str(), &sv) != 0)
            return Status(kStatusIoError);
        total = uint64_t{sv.f_blocks} * sv.f_frsize;
        free = uint64_t{sv.f_bavail} * sv.f_frsize;
    }
    PutU16(out, 0, kStatusOk);
    PutU16(out, kInfoKindOffset, m_options.kind);
    PutU32(out, kInfoTotalOffset, ClampU32(total));
    PutU32(out, kInfoFreeOffset, ClampU32(free));
    std::memset(out.data() + kInfoLabelOffset, ' ', kVolumeLabelSize);
    std::memcpy(out.data() + kInfoLabelOffset, m_options.label.data(),
                std::min(m_options.label.size(), kVolumeLabelSize));
    return out;
}

std::vector<uint8_t> DiskServer::ListFirst() {
    m_listingActive = false;
    const fs::path dir = CurrentDir();
    const auto entries = ScanDirectory(dir);
    if (!entries)
        return Status(kStatusIoError);
    m_listing.clear();
    if (!m_cwd.empty()) {
        m_listing.push_back(EncodeDotEntry(".", dir));
        m_listing.push_back(EncodeDotEntry("..", dir.parent_path()));
    }
    for (const auto& e : *entries)
        m_listing.push_back(EncodeEntry(e));
    m_listingNext = 0;
    m_listingActive = true;
    if (m_options.diskSize)
        m_usedBytes.reset();
    return ListNext();
}

std::vector<uint8_t> DiskServer::ListNext() {
    if (!m_listingActive)
        return Status(kStatusRefused);
    const size_t count = std::min(kEntriesPerAnswer, m_listing.size() - m_listingNext);
    const bool more = m_listingNext + count < m_listing.size();
    std::vector<uint8_t> out = Status(more ? kStatusMore : kStatusOk);
    for (size_t i = 0; i < count; ++i) {
        const auto& e = m_listing[m_listingNext + i];
        out.insert(out.end(), e.begin(), e.end());
    }
    m_listingNext += count;
    m_listingActive = more;
    return out;
}

std::vector<uint8_t> DiskServer::ChangeDir(std::span<const uint8_t> payload) {
    if (payload.size() < 11)
        return Status(kStatusBadRequest);
    m_listingActive = false;
    const auto bytes = payload.first<11>();
    if (IsDotsName(bytes, "."))
        return Status(kStatusOk);
    if (IsDotsName(bytes, "..")) {
        if (m_cwd.empty())
            return Status(kStatusRefused); // the root has no parent on this disk
        m_cwd.pop_back();
        return Status(kStatusOk);
    }
    const auto name = ParseShortName(bytes);
    if (!name)
        return Status(kStatusBadName);
    const auto entry = FindEntry(CurrentDir(), *name);
    if (!entry || !entry->isDirectory)
        return Status(kStatusNotFound);
    m_cwd.push_back(entry->diskName);
    return Status(kStatusOk);
}

std::vector<uint8_t> DiskServer::MakeDir(std::span<const uint8_t> payload) {
    if (m_options.kind == 1)
        return Status(kStatusRefused);
    if (payload.size() < 11)
        return Status(kStatusBadRequest);
    const auto name = NameIn(payload);
    if (!name)
        return Status(kStatusBadName);
    const fs::path dir = CurrentDir();
    if (FindEntry(dir, *name))
        return Status(kStatusCreateFailed);
    if (mkdir((dir / DiskNameOf(*name)).c_str(), 0777) != 0)
        return Status(kStatusCreateFailed);
    return Status(kStatusOk);
}

std::vector<uint8_t> DiskServer::Delete(std::span<const uint8_t> payload) {
    if (payload.size() < 11)
        return Status(kStatusBadRequest);
    const auto name = NameIn(payload);
    if (!name)
        return Status(kStatusBadName);
    const auto entry = FindEntry(CurrentDir(), *name);
    if (!entry)
        return Status(kStatusNotFound);
    // Only an empty directory goes, as on the instrument's own file system: a host that wants a
    // directory with its recordings gone deletes them first, one by one, knowing what it deletes.
    const fs::path target = CurrentDir() / entry->diskName;
    if (entry->isDirectory ? rmdir(target.c_str()) != 0 : unlink(target.c_str()) != 0)
        return Status(errno == ENOTEMPTY || errno == EEXIST ? kStatusRefused : kStatusIoError);
    m_usedBytes.reset();
    return Status(kStatusOk);
}

uint32_t DiskServer::AddHandle(int fd, bool writable) {
    if (m_files.size() >= kMaxOpenFiles) {
        const auto oldest =
            std::min_element(m_files.begin(), m_files.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
        close(oldest->second.fd);
        m_files.erase(oldest);
    }
    uint32_t handle = m_nextHandle;
    while (handle == 0 || m_files.count(handle))
        ++handle;
    m_nextHandle = handle + 1;
    struct stat st {};
    fstat(fd, &st);
    m_files[handle] = OpenFile{fd, st.st_dev, st.st_ino, writable, 0, ++m_useCounter};
    return handle;
}

bool DiskServer::IsOpen(const fs::path& file, bool writersOnly) const {
    struct stat st {};
    if (lstat(file.c_str(), &st) != 0)
        return false;
    return std::any_of(m_files.begin(), m_files.end(), [&](const auto& entry) {
        const OpenFile& f = entry.second;
        return f.device == st.st_dev && f.inode == st.st_ino && (f.writable || !writersOnly);
    });
}

DiskServer::OpenFile* DiskServer::FindHandle(uint32_t handle) {
    const auto it = m_files.find(handle);
    if (it == m_files.end())
        return nullptr;
    it->second.lastUse = ++m_useCounter;
    return &it->second;
}

std::optional<uint32_t> DiskServer::ExpectedBlock(uint32_t handle) const {
    const auto it = m_files.find(handle);
    if (it == m_files.end())
        return std::nullopt;
    return it->second.nextBlock;
}

std::vector<uint8_t> DiskServer::ReadBlock(std::span<const uint8_t> payload) {
    if (payload.size() < 8)
        return Status(kStatusBadRequest);
    OpenFile* file = FindHandle(GetU32(payload, 0));
    if (!file)
        return Status(kStatusBadHandle);
    const uint64_t offset = uint64_t{GetU32(payload, 4)} * kBlockSize;
    struct stat st {};
    if (fstat(file->fd, &st) != 0 || offset >= static_cast<uint64_t>(st.st_size))
        return Status(kStatusIoError);
    std::vector<uint8_t> out(4 + kBlockSize, 0);
    const ssize_t n = ReadUpTo(file->fd, out.data() + 4, kBlockSize, static_cast<off_t>(offset));
    if (n <= 0)
        return Status(kStatusIoError);
    PutU16(out, 0, kStatusOk);
    PutU16(out, 2, static_cast<uint16_t>(n)); // not read by the client; handy in a trace
    // Keep the length even: the transport counts in 16-bit words and would drop an odd last byte.
    out.resize(4 + static_cast<size_t>(n) + static_cast<size_t>(n % 2));
    return out;
}

std::vector<uint8_t> DiskServer::WriteBlock(std::span<const uint8_t> payload) {
    if (payload.size() < kWriteHeadSize)
        return Status(kStatusBadRequest);
    OpenFile* file = FindHandle(GetU32(payload, 0));
    if (!file || !file->writable)
        return Status(kStatusBadHandle);
    const uint32_t block = GetU32(payload, 4);
    const uint16_t length = GetU16(payload, 8);
    if (length > kBlockSize || payload.size() < kWriteHeadSize + length)
        return Status(kStatusBadRequest);
    // The block expected next, or the one just written again: a host whose answer was lost sends
    // that block once more, and taking it again (at the same place) keeps the file right.
    if (block != file->nextBlock && block + 1 != file->nextBlock) {
        std::vector<uint8_t> out = Status(kStatusWrongBlock);
        AppendU32(out, file->nextBlock);
        return out;
    }
    const uint64_t offset = uint64_t{block} * kBlockSize;
    const uint64_t newSize = offset + length;
    struct stat st {};
    if (fstat(file->fd, &st) != 0)
        return Status(kStatusIoError);
    const auto oldSize = static_cast<uint64_t>(st.st_size);
    if (newSize > UINT32_MAX)
        return Status(kStatusDiskFull);
    if (const auto free = FreeBytes(); free && newSize > oldSize && newSize - oldSize > *free)
        return Status(kStatusDiskFull);
    if (!WriteAll(file->fd, payload.subspan(kWriteHeadSize, length), static_cast<off_t>(offset)) ||
        ftruncate(file->fd, static_cast<off_t>(newSize)) != 0) {
        const bool full = IsDiskFullError(errno);
        (void)ftruncate(file->fd, static_cast<off_t>(oldSize));
        return Status(full ? kStatusDiskFull : kStatusIoError);
    }
    if (m_usedBytes)
        *m_usedBytes = *m_usedBytes - std::min(oldSize, *m_usedBytes) + newSize;
    file->nextBlock = block + 1;
    return Status(kStatusOk);
}

std::vector<uint8_t> DiskServer::CreateFile(std::span<const uint8_t> payload) {
    if (payload.size() < 11)
        return Status(kStatusBadRequest);
    const auto name = NameIn(payload);
    if (!name)
        return Status(kStatusCreateFailed);
    const fs::path dir = CurrentDir();
    const auto existing = FindEntry(dir, *name);
    if (existing && existing->isDirectory)
        return Status(kStatusCreateFailed);
    if (const auto free = FreeBytes(); free && *free == 0)
        return Status(kStatusDiskFullOnCreate);
    const std::string diskName = existing ? existing->diskName : DiskNameOf(*name);
    // One writer at a time, and none while the file is read: a second host writing the same file
    // would interleave its blocks with the first's, and a reader would get a file cut short.
    if (existing && IsOpen(dir / diskName, false))
        return Status(kStatusNotAccessible);
    const int fd = open((dir / diskName).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return Status(IsDiskFullError(errno) ? kStatusDiskFullOnCreate : kStatusCreateFailed);
    if (m_usedBytes && existing)
        *m_usedBytes -= std::min<uint64_t>(*m_usedBytes, existing->size);
    std::vector<uint8_t> out = Status(kStatusOk);
    AppendU32(out, AddHandle(fd, true));
    return out;
}

std::vector<uint8_t> DiskServer::OpenFileCmd(std::span<const uint8_t> payload) {
    if (payload.size() < 11)
        return Status(kStatusBadRequest);
    const auto name = NameIn(payload);
    if (!name)
        return Status(kStatusNotFound);
    const auto entry = FindEntry(CurrentDir(), *name);
    if (!entry)
        return Status(kStatusNotFound);
    if (entry->isDirectory || IsOpen(CurrentDir() / entry->diskName, true))
        return Status(kStatusNotAccessible);
    const int fd = open((CurrentDir() / entry->diskName).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Status(kStatusIoError);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > UINT32_MAX) {
        close(fd);
        return Status(kStatusNotAccessible);
    }
    std::vector<uint8_t> out = Status(kStatusOk);
    AppendU32(out, AddHandle(fd, false));
    AppendU32(out, static_cast<uint32_t>(st.st_size));
    return out;
}

std::vector<uint8_t> DiskServer::CloseFile(std::span<const uint8_t> payload) {
    if (payload.size() < 4)
        return Status(kStatusBadRequest);
    const auto it = m_files.find(GetU32(payload, 0));
    if (it == m_files.end())
        return Status(kStatusBadHandle);
    close(it->second.fd);
    m_files.erase(it);
    return Status(kStatusOk);
}

} // namespace zarno::device
