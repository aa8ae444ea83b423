#pragma once
// The instrument as the program sees it: the link settings, connect and disconnect, the remote disk
// commands (message codes 65 to 76) with the listing of the instrument's current directory, and the
// block transfers of files in both directions.

#include "app/link/link_settings.h"
#include "app/link/transport_link.h"
#include "app/remotedisk/device_walk.h"
#include "app/remotedisk/disk_answers.h"
#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/file_entry.h"
#include "app/seams/progress.h"
#include "app/seams/prompts.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>

class QSaveFile;

namespace zarno {

struct PersistentSettings;

// The results of the remote disk commands and the transfers, one set per operation; every failure
// with a message of its own has told it before the result comes back.

// GetDiskInfo, ReadDirectory, ChangeDirectory, MakeDirectory, DeleteRemoteFile, CloseRemoteFile.
// The instrument's answers to change, make and delete are not examined: only the exchange counts.
enum DiskCommandResult : int {
    kCommandDone = 1,
    kCommandFailed = 0,
};

enum OpenResult : int {
    kOpenDone = 1,
    kOpenExchangeFailed = 0,
    kOpenNotAccessible = -1, // status 1
    kOpenNotFound = -2,      // status 2
    kOpenFailed = -3,        // status 3
    kOpenEmptyFile = -4,     // status 0 with length 0; the file was closed again
    kOpenOtherStatus = -5,
};

enum CreateResult : int {
    kCreateDone = 1,
    kCreateExchangeFailed = 0,
    kCreateNotAccessible = -1, // status 1
    kCreateFailed = -2,        // any other status, a full disk (3) included
};

// Both kReadBlockDone and kReadBlockMore deliver the block's data.
enum ReadBlockResult : int {
    kReadBlockDone = 1,       // status 0
    kReadBlockMore = 0xFFFF,  // status 0xFFFF
    kReadBlockExchangeFailed = 0,
    kReadBlockRefused = -1, // any other status, or an answer too short for the block
};

enum WriteBlockResult : int {
    kWriteBlockDone = 1,
    kWriteBlockExchangeFailed = 0,
    kWriteBlockBadHandle = -1, // status 1
    kWriteBlockWrongBlock = -2, // status 2 with the expected block, or an unknown status without one
    kWriteBlockDiskFull = -5,  // status 5
};

// CopyFromDevice and CopyFromDeviceAsSgy. A partial file is never made under its name, so there is
// never a partial file that could not be deleted.
enum DownloadResult : int {
    kDownloadDone = 1,
    kDownloadCancelled = 2,
    kDownloadOpenFailed = -1,
    kDownloadNotCreated = -2, // the computer file
    kDownloadGaveUp = -5,     // a block failed and the user did not retry
    kDownloadWriteFailed = -6, // the computer file, or the DDB recording was not one
    kDownloadCloseFailed = -7, // the remote file; the computer file is whole
    kDownloadSizeMismatch = -8, // the open answer's length is not the listed one; nothing was copied
};

enum UploadResult : int {
    kUploadDone = 1,
    kUploadCancelled = 2,
    kUploadFailed = 0,    // the remote file was not created, or a block's exchange failed and was not retried
    kUploadNotOpened = 7, // the computer file
    kUploadBadHandle = -1,
    kUploadWrongBlock = -2, // the user did not retry
    kUploadDiskFull = -5,
    kUploadWriteFailed = -6, // any other failure, a read of the computer file included
    kUploadCloseFailed = -7, // the instrument did not acknowledge the close; its file was deleted
};

struct DiskInfo {
    uint8_t raw[kDiskInfoSize] = {};
    uint16_t status() const;
    uint16_t kind() const;
    uint32_t totalBytes() const;
    uint32_t freeBytes() const;
    QString label() const; // cut at its first space, at most 31 characters
};

class CRemoteDevice {
public:
    // The device speaks over link and tells its user of failures through prompts; both outlive it.
    CRemoteDevice(CTransportLink& link, Prompts& prompts);
    ~CRemoteDevice();
    CRemoteDevice(const CRemoteDevice&) = delete;
    CRemoteDevice& operator=(const CRemoteDevice&) = delete;

    // ---- link ----
    // The settings the next connect uses; a connect also records its link type in them.
    const LinkSettings& Settings() const { return m_settings; }
    void SetSettings(const LinkSettings& settings) { m_settings = settings; }
    int32_t LinkType() const { return m_settings.linkType; }
    // The transport library is loaded (a failed connect may leave it so), and the link is up.
    bool IsLoaded() const { return m_bLoaded; }
    bool IsConnected() const { return m_bConnected; }

    // Takes the saved settings and checks which COM ports exist; a saved link that cannot be used
    // becomes none.
    void LoadLinkSettings(const PersistentSettings& settings);
    // Writes the link's values back into the settings, as the main frame saves them.
    void StoreLinkSettings(PersistentSettings& settings) const;
    int ConnectCom(int32_t linkType);
    int ConnectNetwork();
    void Disconnect();

    // ---- remote disk commands ----
    DiskCommandResult GetDiskInfo(DiskInfo* info);
    // 1 when the instrument said the listing is complete; 0 with the listing's message when an
    // exchange failed, the instrument answered a failing status, or the answers went round or past
    // what a FAT directory holds. Moving the current directory is the walk's (Walk()) alone.
    DiskCommandResult ReadDirectory(const QString& path, Progress* counter = nullptr);
    DiskCommandResult ChangeDirectory(const QString& name);
    DiskCommandResult MakeDirectory(const QString& name);
    DiskCommandResult DeleteRemoteFile(const DeviceName& deviceName);
    // data points into the answer buffer, valid until the next request. An answer that carries fewer
    // than `wanted` data bytes counts as a refused block.
    ReadBlockResult ReadRemoteBlock(uint32_t handle, uint32_t block, uint32_t wanted, const uint8_t** data);
    // A wrong-block answer gives the block the instrument expects, or kNoBlockNumber for an
    // unknown status.
    WriteBlockResult WriteRemoteBlock(uint32_t handle, const uint8_t* data, uint32_t block, uint32_t length,
                                      uint32_t* expectedBlock = nullptr);
    CreateResult CreateRemoteFile(const DeviceName& deviceName, uint32_t* handle);
    OpenResult OpenRemoteFile(const DeviceName& deviceName, uint32_t* handle, uint32_t* length);
    DiskCommandResult CloseRemoteFile(uint32_t handle);

    // The listing of the last directory read; newest first. Callers take entries over.
    std::list<std::unique_ptr<CFileEntry>>& Listing() { return m_listing; }

    // Every move of the instrument's current directory goes through this walk, which verifies it.
    DeviceWalk& Walk() { return m_walk; }

    // ---- block transfers ----
    // listedLength: the file's length in a listing, when the caller has one; an open answer that
    // says otherwise fails the copy (kDownloadSizeMismatch).
    DownloadResult CopyFromDevice(const DeviceName& deviceName, const QString& localPath,
                                  Progress* progress = nullptr, std::optional<uint32_t> listedLength = {});
    // A DDB recording downloaded and converted to SEG-Y on the way; the same results.
    DownloadResult CopyFromDeviceAsSgy(const DeviceName& deviceName, const QString& localPath,
                                       Progress* progress = nullptr, std::optional<uint32_t> listedLength = {});
    UploadResult CopyToDevice(const QString& localPath, const DeviceName& deviceName,
                              Progress* progress = nullptr);

private:
    // How writing one downloaded block went; a recording that is not one is told apart from a
    // failed write by its message.
    enum class BlockWrite { Written, WriteFailed, NotARecording };
    // Writes one downloaded block:
    // (file, block number, block bytes, block length, length of the whole remote file).
    using BlockSink = std::function<BlockWrite(QSaveFile&, uint32_t, const uint8_t*, uint32_t, uint32_t)>;
    // The download loop both copies share; finish runs after the last block, before the commit.
    DownloadResult Download(const DeviceName& deviceName, const QString& localPath, Progress* progress,
                            std::optional<uint32_t> listedLength, const BlockSink& sink,
                            const std::function<bool()>& finish = {});

    // One exchange; true when it succeeded (the answer is then in the link's buffer).
    bool Exchange(uint32_t code, uint32_t answerWanted, const void* payload, uint32_t length);
    // The answer of the last exchange.
    AnswerView Reply() const;
    void Message(const char* text, const char* caption, PromptIcon icon);
    bool FailConnect(const char* text, const char* caption, PromptIcon icon, bool unload);

    LinkSettings m_settings;
    bool m_bLoaded = false;
    bool m_bConnected = false;
    bool m_bCom1Present = false;
    bool m_bCom2Present = false;
    bool m_bNetPresent = false;

    Prompts& m_prompts;
    CTransportLink& m_link;
    std::list<std::unique_ptr<CFileEntry>> m_listing;
    DeviceWalk m_walk{*this, m_prompts};
};

} // namespace zarno
