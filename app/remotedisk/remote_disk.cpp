// The remote disk commands: one request and one answer each, through the link's exchange.

#include "app/remotedisk/remote_device.h"

#include <cstring>

namespace zarno {

namespace {
const char* const kErrorBang = "Error!";
const char* const kAppCaption = "Zarno";

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A space-padded field cut at its first space.
QString Field(const uint8_t* p, size_t width) {
    size_t n = 0;
    while (n < width && p[n] != ' ')
        ++n;
    return QString::fromLatin1(reinterpret_cast<const char*>(p), qsizetype(n));
}
} // namespace

uint16_t DiskInfo::status() const { return U16(raw); }
uint16_t DiskInfo::kind() const { return U16(raw + 6); }
uint32_t DiskInfo::totalBytes() const { return U32(raw + 8); }
uint32_t DiskInfo::freeBytes() const { return U32(raw + 12); }
QString DiskInfo::label() const { return Field(raw + 16, 31); }

bool CRemoteDevice::Exchange(uint32_t code, uint32_t answerWanted, const void* payload, uint32_t length) {
    TransportRequest request;
    request.completionMessage = 0x400 + code;
    request.code = code;
    request.answerWanted = answerWanted;
    request.length = length;
    request.payload = length ? payload : nullptr;
    m_link.SendAndWait(request);
    return m_link.ReplySuccess();
}

// An answer shorter than the field reads as zeros there: never a value left over from before.
uint16_t CRemoteDevice::ReplyStatus() const {
    return m_link.ReplyLength() >= 2 ? U16(m_link.ReplyBuffer()) : 0xFFFE;
}

uint32_t CRemoteDevice::ReplyU32(uint32_t offset) const {
    return m_link.ReplyLength() >= offset + 4 ? U32(m_link.ReplyBuffer() + offset) : 0;
}

int CRemoteDevice::GetDiskInfo(DiskInfo* info) {
    if (!Exchange(kCodeDiskInfo, 1, nullptr, 0))
        return 0;
    std::memset(info->raw, 0, sizeof info->raw);
    std::memcpy(info->raw, m_link.ReplyBuffer(), std::min<size_t>(sizeof info->raw, m_link.ReplyLength()));
    return 1;
}

void CRemoteDevice::AddListingEntries(const QString& path, Progress* counter, int* count) {
    const uint32_t length = m_link.ReplyLength();
    const uint8_t* reply = m_link.ReplyBuffer();
    const uint32_t entries = length < 2 ? 0 : (length - 2) / 32;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* e = reply + 2 + 32 * i;
        if (std::memcmp(e, ".       ", 8) == 0)
            continue;
        auto entry = std::make_unique<CFileEntry>();
        std::memcpy(entry->deviceName.data(), e, 12);
        entry->title = Field(e, 8);
        entry->typeText = Field(e + 8, 3);
        entry->isDirectory = e[11] == kDirectoryAttribute;
        const QString extension = entry->typeText;
        if (entry->isDirectory)
            entry->typeText = "<Dir>";
        entry->size = U32(e + 28);
        entry->lastChange = FatDateTime(U16(e + 24), U16(e + 22));
        entry->fileName = entry->isDirectory || extension.isEmpty() ? entry->title : entry->title + "." + extension;
        entry->fullPath = path.size() == 3 ? path + entry->fileName : path + "\\" + entry->fileName;
        m_listing.push_front(std::move(entry));
        ++*count;
        if (counter)
            counter->setValue(*count);
    }
}

int CRemoteDevice::ReadDirectory(const QString& path, Progress* counter) {
    int count = 0;
    uint32_t code = kCodeReadDirectory;
    for (;;) {
        if (!Exchange(code, 1, nullptr, 0)) {
            Message("Ошибка при попытке получения списка файлов!", kAppCaption, PromptIcon::Stop);
            return 0;
        }
        const uint16_t status = ReplyStatus();
        AddListingEntries(path, counter, &count);
        if (status != kStatusMore)
            return 1;
        code = kCodeReadDirectoryMore;
    }
}

int CRemoteDevice::ChangeDirectory(const QString& name) {
    if (name.compare(QStringLiteral("z:\\"), Qt::CaseInsensitive) == 0)
        return Exchange(kCodeRootDirectory, 0, nullptr, 0) ? 1 : 0;
    const DeviceName dir = DirectoryDeviceName(name);
    return Exchange(kCodeChangeDirectory, 0, dir.data(), 12) ? 1 : 0;
}

int CRemoteDevice::MakeDirectory(const QString& name) {
    const DeviceName dir = DirectoryDeviceName(name);
    return Exchange(kCodeMakeDirectory, 0, dir.data(), 12) ? 1 : 0;
}

int CRemoteDevice::DeleteRemoteFile(const DeviceName& deviceName) {
    return Exchange(kCodeDelete, 0, deviceName.data(), 12) ? 1 : 0;
}

int CRemoteDevice::ReadRemoteBlock(uint32_t handle, uint32_t block, uint32_t wanted, const uint8_t** data) {
    uint8_t payload[8];
    PutU32(payload, handle);
    PutU32(payload + 4, block);
    if (!Exchange(kCodeReadBlock, 1, payload, 8)) {
        Message("Ошибка работы на транспортном уровне!", kErrorBang, PromptIcon::Stop);
        return 0;
    }
    const uint16_t status = ReplyStatus();
    if (status != 0 && status != kStatusMore)
        return -1;
    // An answer that carries fewer bytes than the block would fill the file with whatever the
    // buffer held before: it counts as a failed block.
    if (m_link.ReplyLength() < 4 + wanted)
        return -1;
    *data = m_link.ReplyBuffer() + 4;
    return status == 0 ? 1 : kStatusMore;
}

int CRemoteDevice::WriteRemoteBlock(uint32_t handle, const uint8_t* data, uint32_t block, uint32_t length,
                                    uint32_t* expectedBlock) {
    uint8_t payload[kWritePayload] = {};
    length = std::min(length, kBlockSize);
    PutU32(payload, handle);
    PutU32(payload + 4, block);
    payload[8] = static_cast<uint8_t>(length & 0xFF);
    payload[9] = static_cast<uint8_t>(length >> 8);
    if (length)
        std::memcpy(payload + 10, data, length);
    if (!Exchange(kCodeWriteBlock, 1, payload, kWritePayload))
        return 0;
    switch (ReplyStatus()) {
    case 0:
        return 1;
    case 1:
        Message("Неправильный дескриптор файла!", kErrorBang, PromptIcon::Stop);
        return -1;
    case 2:
        if (expectedBlock)
            *expectedBlock = ReplyU32(2);
        return -2;
    case 5:
        Message("Недостаточно места на удаленном диске для копирования файла!", kErrorBang, PromptIcon::Stop);
        return -5;
    default:
        if (expectedBlock)
            *expectedBlock = kNoBlockNumber;
        return -2;
    }
}

int CRemoteDevice::CreateRemoteFile(const DeviceName& deviceName, uint32_t* handle) {
    if (!Exchange(kCodeCreate, 1, deviceName.data(), 12)) {
        Message("Ошибка работы на транспортном уровне!", kErrorBang, PromptIcon::Stop);
        return 0;
    }
    switch (ReplyStatus()) {
    case 0:
        *handle = ReplyU32(2);
        return 1;
    case 1:
        Message("Файл на удаленном диске не доступен!", kErrorBang, PromptIcon::Stop);
        return -1;
    case 3:
        Message("Удаленный диск переполнен!", kErrorBang, PromptIcon::Stop);
        return -2;
    default:
        Message("Ошибка создания файла на удаленном диске!", kErrorBang, PromptIcon::Stop);
        return -2;
    }
}

int CRemoteDevice::OpenRemoteFile(const DeviceName& deviceName, uint32_t* handle, uint32_t* length) {
    if (!Exchange(kCodeOpen, 1, deviceName.data(), 12))
        return 0;
    const uint16_t status = ReplyStatus();
    if (status == 0) {
        *handle = ReplyU32(2);
        *length = ReplyU32(6);
        if (*length != 0)
            return 1;
        Message("Файл на удаленном диске имеет нулевую длину!", kAppCaption, PromptIcon::Stop);
        CloseRemoteFile(*handle);
        return -4;
    }
    struct Outcome {
        uint16_t status;
        const char* text;
        int result;
    };
    static const Outcome kOutcomes[] = {{1, "Файл на удаленном диске не доступен!", -1},
                                        {2, "Файл на удаленном диске не найден!", -2},
                                        {3, "Ошибка открытия файла на удаленном диске!", -3}};
    for (const Outcome& o : kOutcomes) {
        if (o.status == status) {
            Message(o.text, kAppCaption, PromptIcon::Stop);
            return o.result;
        }
    }
    Message("Ошибка при работе с файлом на удаленном диске!", kAppCaption, PromptIcon::Stop);
    return -5;
}

int CRemoteDevice::CloseRemoteFile(uint32_t handle) {
    uint8_t payload[4];
    PutU32(payload, handle);
    if (!Exchange(kCodeClose, 0, payload, 4)) {
        Message("Ошибка работы на транспортном уровне!", kAppCaption, PromptIcon::Stop);
        return 0;
    }
    return 1;
}

} // namespace zarno
