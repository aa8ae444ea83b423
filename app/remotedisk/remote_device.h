#pragma once
// The instrument as the program sees it: the link settings, connect and disconnect, the remote disk
// commands (message codes 65 to 76) with the listing of the instrument's current directory, and the
// block transfers of files in both directions.

#include "app/link/transport_link.h"
#include "app/remotedisk/device_walk.h"
#include "app/remotedisk/disk_answers.h"
#include "app/remotedisk/disk_codes.h"
#include "app/remotedisk/file_entry.h"
#include "app/seams/progress.h"
#include "app/seams/prompts.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>

class QSaveFile;

namespace zarno {

struct PersistentSettings;

enum LinkType : int32_t { kLinkNone = 0, kLinkCom1 = 1, kLinkCom2 = 2, kLinkNetwork = 3 };

constexpr uint32_t kBlockSize = 512;
constexpr uint32_t kWritePayload = 522;

struct DiskInfo {
    uint8_t raw[48] = {};
    uint16_t status() const;
    uint16_t kind() const;
    uint32_t totalBytes() const;
    uint32_t freeBytes() const;
    QString label() const; // cut at its first space, at most 31 characters
};

class CRemoteDevice {
public:
    explicit CRemoteDevice(Prompts& prompts);
    ~CRemoteDevice();
    CRemoteDevice(const CRemoteDevice&) = delete;
    CRemoteDevice& operator=(const CRemoteDevice&) = delete;

    // ---- link ----
    bool m_bLoaded = false;
    bool m_bConnected = false;
    int32_t m_nLinkType = kLinkNone;
    uint32_t m_nComSpeed = 115200;
    uint32_t m_nLocalLineAddr = 65000;
    uint32_t m_nRemoteLineAddr = 2;
    uint32_t m_nLocalPort = 6767;
    uint32_t m_nRemotePort = 6768;
    uint32_t m_nRemoteIPNet = 0;
    uint32_t m_nRemoteIP = 0x0A000032; // 10.0.0.50, first octet in the high byte
    bool m_bCom1Present = false;
    bool m_bCom2Present = false;
    bool m_bNetPresent = false;

    void LoadLinkSettings(const PersistentSettings& settings);
    // Writes the link's values back into the settings, as the main frame saves them.
    void StoreLinkSettings(PersistentSettings& settings) const;
    int ConnectCom(int32_t linkType);
    int ConnectNetwork();
    void Disconnect();

    // ---- remote disk commands ----
    int GetDiskInfo(DiskInfo* info);
    // 1 when the instrument said the listing is complete; 0 with the listing's message when an
    // exchange failed, the instrument answered a failing status, or the answers went round or past
    // what a FAT directory holds. Moving the current directory is the walk's (Walk()) alone.
    int ReadDirectory(const QString& path, Progress* counter = nullptr);
    int ChangeDirectory(const QString& name);
    int MakeDirectory(const QString& name);
    int DeleteRemoteFile(const DeviceName& deviceName);
    // data points into the answer buffer, valid until the next request. An answer that carries fewer
    // than `wanted` data bytes counts as a failed block (-1).
    int ReadRemoteBlock(uint32_t handle, uint32_t block, uint32_t wanted, const uint8_t** data);
    // A wrong-block answer (-2) gives the block the instrument expects, or kNoBlockNumber for an
    // unknown status.
    int WriteRemoteBlock(uint32_t handle, const uint8_t* data, uint32_t block, uint32_t length,
                         uint32_t* expectedBlock = nullptr);
    int CreateRemoteFile(const DeviceName& deviceName, uint32_t* handle);
    int OpenRemoteFile(const DeviceName& deviceName, uint32_t* handle, uint32_t* length);
    int CloseRemoteFile(uint32_t handle);

    // The listing of the last directory read; newest first. Callers take entries over.
    std::list<std::unique_ptr<CFileEntry>>& Listing() { return m_listing; }

    // Every move of the instrument's current directory goes through this walk, which verifies it.
    DeviceWalk& Walk() { return m_walk; }

    // ---- block transfers ----
    int CopyFromDevice(const DeviceName& deviceName, const QString& localPath, Progress* progress = nullptr);
    // A DDB recording downloaded and converted to SEG-Y on the way; the same results.
    int CopyFromDeviceAsSgy(const DeviceName& deviceName, const QString& localPath,
                            Progress* progress = nullptr);
    int CopyToDevice(const QString& localPath, const DeviceName& deviceName, Progress* progress = nullptr);

private:
    const uint32_t m_nDefaultRemoteLineAddr = 2;
    const uint32_t m_nDefaultLocalPort = 6767;
    const uint32_t m_nDefaultRemotePort = 6768;
    const uint32_t m_nDefaultRemoteIP = 0x0A000032;

    // Writes one downloaded block: (target, block number, its bytes); false when that failed.
    using BlockSink = std::function<bool(QSaveFile&, uint32_t, const uint8_t*, uint32_t)>;
    // The download loop both copies share; finish runs after the last block, before the commit.
    int Download(const DeviceName& deviceName, const QString& localPath, Progress* progress,
                 const BlockSink& sink, const std::function<bool()>& finish = {},
                 const bool* badHeader = nullptr);

    // One exchange; true when it succeeded (the answer is then in the link's buffer).
    bool Exchange(uint32_t code, uint32_t answerWanted, const void* payload, uint32_t length);
    // The answer of the last exchange.
    AnswerView Reply() const;
    void Message(const char* text, const char* caption, PromptIcon icon);
    bool FailConnect(const char* text, const char* caption, PromptIcon icon, bool unload);

    Prompts& m_prompts;
    CTransportLink& m_link;
    std::list<std::unique_ptr<CFileEntry>> m_listing;
    DeviceWalk m_walk{*this, m_prompts};
};

} // namespace zarno
