#pragma once
// The instrument's disk as a command server: one request (message code and payload bytes as the host
// sent them) in, the answer's bytes out. It serves a root directory with a current directory of its
// own, lists it in FAT directory entries, and moves files in numbered 512-byte blocks through
// handles of its own. It knows nothing of the transport, so that every answer can be tested directly.
//
// A bad host gets a failure status for anything it gets wrong (short payloads, unknown codes, stale
// handles, names that are not 8.3 names of the current directory) and can never reach a file outside
// the root: names never carry a path, ".." stops at the root, and symbolic links are not followed.

#include "device/disk_directory.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zarno::device {

struct DiskServerOptions {
    std::filesystem::path root;
    std::optional<uint64_t> diskSize; // a disk of this size instead of the real file system's figures
    uint16_t kind = 0;                // 1: a device that cannot make directories
    std::string label = "ZARNO-DEV";
};

class DiskServer {
public:
    explicit DiskServer(DiskServerOptions options);
    ~DiskServer();
    DiskServer(const DiskServer&) = delete;
    DiskServer& operator=(const DiskServer&) = delete;

    // The answer to one request; it always begins with a status word and has an even length, so the
    // transport (which counts data in 16-bit words) carries every byte of it.
    std::vector<uint8_t> Handle(uint16_t code, std::span<const uint8_t> payload);

    // The block that a write through this handle should carry next, if the handle is open.
    std::optional<uint32_t> ExpectedBlock(uint32_t handle) const;
    size_t OpenHandleCount() const { return m_files.size(); }
    // The current directory as the instrument's path ("z:\", "z:\REC").
    std::string CurrentPath() const;

    // More open files than this and the least recently used one is closed: a host that loses its
    // answers keeps opening files and never closes the handles it did not hear about.
    static constexpr size_t kMaxOpenFiles = 16;

private:
    struct OpenFile {
        int fd = -1;
        dev_t device = 0; // with inode: which file it is, whatever name it was opened by
        ino_t inode = 0;
        bool writable = false;
        uint32_t nextBlock = 0; // for writes: the block expected next
        uint64_t lastUse = 0;
    };

    std::vector<uint8_t> DiskInfo();
    std::vector<uint8_t> ListFirst();
    std::vector<uint8_t> ListNext();
    std::vector<uint8_t> ChangeDir(std::span<const uint8_t> payload);
    std::vector<uint8_t> MakeDir(std::span<const uint8_t> payload);
    std::vector<uint8_t> Delete(std::span<const uint8_t> payload);
    std::vector<uint8_t> ReadBlock(std::span<const uint8_t> payload);
    std::vector<uint8_t> WriteBlock(std::span<const uint8_t> payload);
    std::vector<uint8_t> CreateFile(std::span<const uint8_t> payload);
    std::vector<uint8_t> OpenFileCmd(std::span<const uint8_t> payload);
    std::vector<uint8_t> CloseFile(std::span<const uint8_t> payload);

    std::filesystem::path CurrentDir() const;
    uint32_t AddHandle(int fd, bool writable);
    // Whether a handle holds this file open (for writing only, when writersOnly).
    bool IsOpen(const std::filesystem::path& file, bool writersOnly) const;
    OpenFile* FindHandle(uint32_t handle);
    uint64_t UsedBytes();
    std::optional<uint64_t> FreeBytes();

    DiskServerOptions m_options;
    std::vector<std::string> m_cwd; // names on disk, from the root down
    std::vector<DirEntryBytes> m_listing;
    size_t m_listingNext = 0;
    bool m_listingActive = false;
    std::map<uint32_t, OpenFile> m_files;
    uint32_t m_nextHandle = 1;
    uint64_t m_useCounter = 0;
    std::optional<uint64_t> m_usedBytes; // known use of a --disk-size disk, kept up to date by writes
};

} // namespace zarno::device
