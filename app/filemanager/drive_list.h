#pragma once
// What the panels' drive lists show: the drive table of the computer's mounts and the instrument's
// drive, and the instrument's disk information (kind, sizes, label) that fills the device row.

#include "app/filemanager/drive_table.h"
#include "app/remotedisk/remote_device.h"

#include <memory>
#include <vector>

namespace zarno {

// Results of DriveList::ReadDeviceDiskInfo.
enum DiskInfoResult : int { kDiskInfoOk = 1, kDiskInfoExchangeFailed = 0, kDiskInfoStatusOne = -1 };

// The instrument kind whose disk has no directories.
constexpr uint16_t kDeviceKindNoDirectories = 1;

class DriveList {
public:
    // `source` defaults to the real system.
    explicit DriveList(std::unique_ptr<DriveSource> source);

    void Build();
    void Refresh(int index); // a row, or kAllComputerDrives
    const std::vector<DriveInfo>& Table() const { return m_drives; }

    // The instrument's disk information into the device row; 1, 0 (exchange failed), -1 (status 1)
    // or the status when above 1.
    int ReadDeviceDiskInfo(CRemoteDevice& device);
    uint16_t DeviceKind() const { return m_kind; }
    uint32_t DeviceTotal() const { return m_total; } // units of 1000 bytes
    uint32_t DeviceFree() const { return m_free; }
    const QString& DeviceLabel() const { return m_label; }

    // Set once a panel entered the instrument after its disk information was read, so that a second
    // panel is spared the reading; cleared when the link goes.
    bool DiskOpened() const { return m_diskOpened; }
    void SetDiskOpened(bool opened) { m_diskOpened = opened; }

private:
    std::unique_ptr<DriveSource> m_source;
    std::vector<DriveInfo> m_drives;
    uint16_t m_kind = 0;
    uint32_t m_total = 0;
    uint32_t m_free = 0;
    QString m_label;
    bool m_diskOpened = false;
};

} // namespace zarno
