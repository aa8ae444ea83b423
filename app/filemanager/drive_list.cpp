#include "app/filemanager/drive_list.h"

#include "app/shell/persistent_settings.h"

#include <algorithm>
#include <limits>

namespace zarno {

namespace {

// (x / 1000) * 1024 of the device row, which can pass 32 bits for disks above 4 GB.
uint32_t DeviceRowUnits(uint32_t kiloUnits) {
    const uint64_t v = uint64_t(kiloUnits) * 1024;
    return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : uint32_t(v);
}

} // namespace

DriveList::DriveList(std::unique_ptr<DriveSource> source)
    : m_source(source ? std::move(source) : std::make_unique<SystemDriveSource>()) {}

void DriveList::Build() {
    m_drives = BuildDriveTable(*m_source);
}

void DriveList::Refresh(int index) {
    RefreshDriveInfo(m_drives, index, *m_source);
}

int DriveList::ReadDeviceDiskInfo(CRemoteDevice& device) {
    DiskInfo info;
    if (device.GetDiskInfo(&info) != 1)
        return kDiskInfoExchangeFailed;
    const uint16_t status = info.status();
    if (status == 1)
        return kDiskInfoStatusOne;
    if (status > 1)
        return status;
    m_kind = info.kind();
    m_total = info.totalBytes() / 1000;
    m_free = info.freeBytes() / 1000;
    m_label = info.label();

    auto row = std::find_if(m_drives.begin(), m_drives.end(),
                            [](const DriveInfo& d) { return d.driveType == kDriveDevice; });
    if (row == m_drives.end())
        row = m_drives.insert(m_drives.end(), DeviceDriveRow());
    row->root = kDeviceDrive;
    row->driveType = kDriveDevice;
    row->kind = kKindDevice;
    row->volumeName = m_label;
    row->serialNumber = kDeviceSerialNumber;
    row->free = DeviceRowUnits(m_free);
    row->total = DeviceRowUnits(m_total);
    row->fileSystemName = kDeviceFileSystem;
    row->maxNameLength = kDeviceMaxNameLength;
    return kDiskInfoOk;
}

} // namespace zarno
