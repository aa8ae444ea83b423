// The remote disk commands: one request and one answer each, through the link's exchange.

#include "app/remotedisk/remote_device.h"

#include "app/remotedisk/disk_answers.h"
#include "app/remotedisk/listing_answer.h"
#include "app/remotedisk/wire_fields.h"

#include <cstring>

namespace zarno {

namespace {
using namespace wire;
const char* const kErrorBang = "Error!";
} // namespace

uint16_t DiskInfo::status() const {
    return U16(raw);
}
uint16_t DiskInfo::kind() const {
    return U16(raw + 6);
}
uint32_t DiskInfo::totalBytes() const {
    return U32(raw + 8);
}
uint32_t DiskInfo::freeBytes() const {
    return U32(raw + 12);
}
QString DiskInfo::label() const {
    return Field(raw + 16, 31);
}

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

AnswerView CRemoteDevice::Reply() const {
    return {m_link.ReplyBuffer(), m_link.ReplyLength()};
}

int CRemoteDevice::GetDiskInfo(DiskInfo* info) {
    if (!Exchange(kCodeDiskInfo, 1, nullptr, 0))
        return 0;
    std::memset(info->raw, 0, sizeof info->raw);
    std::memcpy(info->raw, m_link.ReplyBuffer(), std::min<size_t>(sizeof info->raw, m_link.ReplyLength()));
    return 1;
}

// A listing counts only when the instrument said it is complete: a failing status, an answer that
// goes round, or more entries than a directory holds end it as failed, never as a shorter list.
int CRemoteDevice::ReadDirectory(const QString& path, Progress* counter) {
    ListingAnswers answers(path, m_listing, counter);
    uint32_t code = kCodeReadDirectory;
    for (;;) {
        const ListingStep step = Exchange(code, 1, nullptr, 0)
                                     ? answers.Take(m_link.ReplyBuffer(), m_link.ReplyLength())
                                     : ListingStep::Failed;
        if (step == ListingStep::Done)
            return 1;
        if (step != ListingStep::More) {
            Message("Ошибка при попытке получения списка файлов!", kAppCaption, PromptIcon::Stop);
            return 0;
        }
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
    const uint8_t* delivered = ReadAnswerData(Reply(), wanted);
    if (!delivered)
        return -1;
    *data = delivered;
    return Reply().Status() == 0 ? 1 : kStatusMore;
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
    const WriteAnswer answer = ParseWriteAnswer(Reply());
    switch (answer.status) {
    case 0:
        return 1;
    case 1:
        Message("Неправильный дескриптор файла!", kErrorBang, PromptIcon::Stop);
        return -1;
    case 2:
        if (expectedBlock)
            *expectedBlock = answer.expectedBlock;
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
    const CreateAnswer answer = ParseCreateAnswer(Reply());
    switch (answer.status) {
    case 0:
        *handle = answer.handle;
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
    const OpenAnswer answer = ParseOpenAnswer(Reply());
    const uint16_t status = answer.status;
    if (status == 0) {
        *handle = answer.handle;
        *length = answer.length;
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
