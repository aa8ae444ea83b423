// The remote disk commands: one request and one answer each, through the link's exchange.

#include "app/i18n/texts.h"
#include "app/remotedisk/remote_device.h"

#include "app/remotedisk/disk_answers.h"
#include "app/remotedisk/listing_answer.h"
#include "app/remotedisk/remote_texts.h"
#include "app/remotedisk/wire_fields.h"
#include "app/shell/drive_names.h"

#include <cstring>

namespace zarno {

namespace {
using namespace wire;
} // namespace

uint16_t DiskInfo::status() const {
    return GetU16(raw, 0);
}
uint16_t DiskInfo::kind() const {
    return GetU16(raw, kInfoKindOffset);
}
uint32_t DiskInfo::totalBytes() const {
    return GetU32(raw, kInfoTotalOffset);
}
uint32_t DiskInfo::freeBytes() const {
    return GetU32(raw, kInfoFreeOffset);
}
QString DiskInfo::label() const {
    return Field(raw, kInfoLabelOffset, kVolumeLabelSize - 1);
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

DiskCommandResult CRemoteDevice::GetDiskInfo(DiskInfo* info) {
    if (!Exchange(kCodeDiskInfo, 1, nullptr, 0))
        return kCommandFailed;
    std::memset(info->raw, 0, sizeof info->raw);
    std::memcpy(info->raw, m_link.ReplyBuffer(), std::min<size_t>(sizeof info->raw, m_link.ReplyLength()));
    return kCommandDone;
}

// A listing counts only when the instrument said it is complete: a failing status, an answer that
// goes round, or more entries than a directory holds end it as failed, never as a shorter list.
DiskCommandResult CRemoteDevice::ReadDirectory(const QString& path, Progress* counter) {
    ListingAnswers answers(path, m_listing, counter);
    uint32_t code = kCodeReadDirectory;
    for (;;) {
        const ListingStep step = Exchange(code, 1, nullptr, 0)
                                     ? answers.Take(m_link.ReplyBuffer(), m_link.ReplyLength())
                                     : ListingStep::Failed;
        if (step == ListingStep::Done)
            return kCommandDone;
        if (step != ListingStep::More) {
            Message(QT_TRANSLATE_NOOP("zarno", "Ошибка при попытке получения списка файлов!"), kAppCaption, PromptIcon::Stop);
            return kCommandFailed;
        }
        code = kCodeReadDirectoryMore;
    }
}

DiskCommandResult CRemoteDevice::ChangeDirectory(const QString& name) {
    if (name.compare(kDeviceDrive, Qt::CaseInsensitive) == 0)
        return Exchange(kCodeRootDirectory, 0, nullptr, 0) ? kCommandDone : kCommandFailed;
    const DeviceName dir = DirectoryDeviceName(name);
    return Exchange(kCodeChangeDirectory, 0, dir.data(), kDeviceNameSize) ? kCommandDone : kCommandFailed;
}

DiskCommandResult CRemoteDevice::MakeDirectory(const QString& name) {
    const DeviceName dir = DirectoryDeviceName(name);
    return Exchange(kCodeMakeDirectory, 0, dir.data(), kDeviceNameSize) ? kCommandDone : kCommandFailed;
}

DiskCommandResult CRemoteDevice::DeleteRemoteFile(const DeviceName& deviceName) {
    return Exchange(kCodeDelete, 0, deviceName.data(), kDeviceNameSize) ? kCommandDone : kCommandFailed;
}

ReadBlockResult CRemoteDevice::ReadRemoteBlock(uint32_t handle, uint32_t block, uint32_t wanted,
                                               const uint8_t** data) {
    uint8_t payload[8];
    PutU32(payload, 0, handle);
    PutU32(payload, 4, block);
    if (!Exchange(kCodeReadBlock, 1, payload, sizeof payload)) {
        Message(kTextTransportFailed, kCaptionError, PromptIcon::Stop);
        return kReadBlockExchangeFailed;
    }
    const uint8_t* delivered = ReadAnswerData(Reply(), wanted);
    if (!delivered)
        return kReadBlockRefused;
    *data = delivered;
    return Reply().Status() == kStatusOk ? kReadBlockDone : kReadBlockMore;
}

WriteBlockResult CRemoteDevice::WriteRemoteBlock(uint32_t handle, const uint8_t* data, uint32_t block,
                                                 uint32_t length, uint32_t* expectedBlock) {
    uint8_t payload[kWritePayload] = {};
    length = std::min(length, kBlockSize);
    PutU32(payload, 0, handle);
    PutU32(payload, 4, block);
    PutU16(payload, 8, static_cast<uint16_t>(length));
    if (length)
        std::memcpy(payload + kWriteHeadSize, data, length);
    if (!Exchange(kCodeWriteBlock, 1, payload, kWritePayload))
        return kWriteBlockExchangeFailed;
    const WriteAnswer answer = ParseWriteAnswer(Reply());
    switch (answer.status) {
    case kStatusOk:
        return kWriteBlockDone;
    case kStatusBadHandle:
        Message(QT_TRANSLATE_NOOP("zarno", "Неправильный дескриптор файла!"), kCaptionError, PromptIcon::Stop);
        return kWriteBlockBadHandle;
    case kStatusWrongBlock:
        if (expectedBlock)
            *expectedBlock = answer.expectedBlock;
        return kWriteBlockWrongBlock;
    case kStatusDiskFull:
        Message(QT_TRANSLATE_NOOP("zarno", "Недостаточно места на удаленном диске для копирования файла!"), kCaptionError, PromptIcon::Stop);
        return kWriteBlockDiskFull;
    default:
        if (expectedBlock)
            *expectedBlock = kNoBlockNumber;
        return kWriteBlockWrongBlock;
    }
}

CreateResult CRemoteDevice::CreateRemoteFile(const DeviceName& deviceName, uint32_t* handle) {
    if (!Exchange(kCodeCreate, 1, deviceName.data(), kDeviceNameSize)) {
        Message(kTextTransportFailed, kCaptionError, PromptIcon::Stop);
        return kCreateExchangeFailed;
    }
    const CreateAnswer answer = ParseCreateAnswer(Reply());
    switch (answer.status) {
    case kStatusOk:
        *handle = answer.handle;
        return kCreateDone;
    case kStatusNotAccessible:
        Message(kTextDeviceFileNotAccessible, kCaptionError, PromptIcon::Stop);
        return kCreateNotAccessible;
    case kStatusDiskFullOnCreate:
        Message(QT_TRANSLATE_NOOP("zarno", "Удаленный диск переполнен!"), kCaptionError, PromptIcon::Stop);
        return kCreateFailed;
    default:
        Message(QT_TRANSLATE_NOOP("zarno", "Ошибка создания файла на удаленном диске!"), kCaptionError, PromptIcon::Stop);
        return kCreateFailed;
    }
}

OpenResult CRemoteDevice::OpenRemoteFile(const DeviceName& deviceName, uint32_t* handle, uint32_t* length) {
    if (!Exchange(kCodeOpen, 1, deviceName.data(), kDeviceNameSize))
        return kOpenExchangeFailed;
    const OpenAnswer answer = ParseOpenAnswer(Reply());
    const uint16_t status = answer.status;
    if (status == kStatusOk) {
        *handle = answer.handle;
        *length = answer.length;
        if (*length != 0)
            return kOpenDone;
        Message(QT_TRANSLATE_NOOP("zarno", "Файл на удаленном диске имеет нулевую длину!"), kAppCaption, PromptIcon::Stop);
        CloseRemoteFile(*handle);
        return kOpenEmptyFile;
    }
    struct Outcome {
        uint16_t status;
        const char* text;
        OpenResult result;
    };
    static const Outcome kOutcomes[] = {
        {kStatusNotAccessible, kTextDeviceFileNotAccessible, kOpenNotAccessible},
        {kStatusNotFound, kTextDeviceFileNotFound, kOpenNotFound},
        {kStatusIoError, QT_TRANSLATE_NOOP("zarno", "Ошибка открытия файла на удаленном диске!"), kOpenFailed}};
    for (const Outcome& o : kOutcomes) {
        if (o.status == status) {
            Message(o.text, kAppCaption, PromptIcon::Stop);
            return o.result;
        }
    }
    Message(QT_TRANSLATE_NOOP("zarno", "Ошибка при работе с файлом на удаленном диске!"), kAppCaption, PromptIcon::Stop);
    return kOpenOtherStatus;
}

DiskCommandResult CRemoteDevice::CloseRemoteFile(uint32_t handle) {
    uint8_t payload[4];
    PutU32(payload, 0, handle);
    if (!Exchange(kCodeClose, 0, payload, sizeof payload)) {
        Message(kTextTransportFailed, kAppCaption, PromptIcon::Stop);
        return kCommandFailed;
    }
    return kCommandDone;
}

} // namespace zarno
