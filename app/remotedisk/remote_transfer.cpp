// Files between the computer and the instrument in numbered blocks of 512 bytes, with retry
// questions, the transfer-cancel flag, and clean-up on every exit: a failed or cancelled download
// leaves no file on the computer (it is written beside its target and renamed only when whole), a
// failed or cancelled upload leaves none on the instrument.

#include "app/i18n/texts.h"
#include "app/remotedisk/remote_device.h"

#include "app/formats/convert_ddb_file.h"
#include "app/formats/ddb_to_sgy.h"
#include "app/io/whole_file.h"
#include "app/remotedisk/remote_texts.h"
#include "app/remotedisk/transfer_cancel.h"

#include <QFile>
#include <QSaveFile>
#include <QCoreApplication>

namespace zarno {

namespace {

uint32_t BlockCount(uint64_t length) {
    return static_cast<uint32_t>((length + kBlockSize - 1) / kBlockSize);
}

uint32_t BlockBytes(uint64_t length, uint32_t block) {
    const uint64_t start = uint64_t{block} * kBlockSize;
    return static_cast<uint32_t>(std::min<uint64_t>(kBlockSize, length - start));
}

void StartProgress(Progress* progress, uint32_t blocks) {
    if (progress) {
        progress->setRange(blocks);
        progress->setValue(0);
    }
}

// Takes the cancel request if there is one.
bool TakeCancel() {
    return g_transferCancel.exchange(false);
}

// A remote file open for one transfer. Every exit closes it; one made by an upload is deleted from
// the instrument too unless the transfer completed, so that no part of a file is left there.
class RemoteFileGuard {
public:
    RemoteFileGuard(CRemoteDevice& device, uint32_t handle, const DeviceName* madeHere = nullptr)
        : m_device(device), m_handle(handle), m_madeHere(madeHere) {}
    ~RemoteFileGuard() {
        if (m_open) {
            m_device.CloseRemoteFile(m_handle);
            if (m_madeHere)
                m_device.DeleteRemoteFile(*m_madeHere);
        }
    }
    RemoteFileGuard(const RemoteFileGuard&) = delete;
    RemoteFileGuard& operator=(const RemoteFileGuard&) = delete;

    // The transfer completed: the file is closed and kept. An upload whose close the instrument did
    // not acknowledge has failed, and its file goes as on any failed upload: nobody can say whether
    // the instrument holds all of it.
    DiskCommandResult Complete() {
        m_open = false;
        const DiskCommandResult closed = m_device.CloseRemoteFile(m_handle);
        if (closed != kCommandDone && m_madeHere)
            m_device.DeleteRemoteFile(*m_madeHere);
        return closed;
    }

private:
    CRemoteDevice& m_device;
    const uint32_t m_handle;
    const DeviceName* const m_madeHere;
    bool m_open = true;
};
} // namespace

DownloadResult CRemoteDevice::CopyFromDevice(const DeviceName& deviceName, const QString& localPath,
                                             Progress* progress, std::optional<uint32_t> listedLength) {
    return Download(deviceName, localPath, progress, listedLength,
                    [](QSaveFile& file, uint32_t, const uint8_t* data, uint32_t bytes, uint32_t) {
                        return file.write(reinterpret_cast<const char*>(data), bytes) == qint64(bytes)
                                   ? BlockWrite::Written
                                   : BlockWrite::WriteFailed;
                    });
}

DownloadResult CRemoteDevice::CopyFromDeviceAsSgy(const DeviceName& deviceName, const QString& localPath,
                                                  Progress* progress, std::optional<uint32_t> listedLength) {
    DDBToSGYConverter converter(SGYTextVariant::Device);
    return Download(
        deviceName, localPath, progress, listedLength,
        [&](QSaveFile& file, uint32_t block, const uint8_t* data, uint32_t bytes, uint32_t length) {
            const QByteArrayView view(reinterpret_cast<const char*>(data), bytes);
            if (block != 0)
                return converter.pushDataBlock(view) ? BlockWrite::Written : BlockWrite::WriteFailed;
            // The SEG-Y file is laid out from the header before any sample.
            if (converter.pushHeaderBlock(view) != DDBHeaderCheck::Ok ||
                !DDBDataComplete(converter.header(), length))
                return BlockWrite::NotARecording;
            return converter.begin(file) ? BlockWrite::Written : BlockWrite::WriteFailed;
        },
        [&] { return converter.finish(); });
}

DownloadResult CRemoteDevice::Download(const DeviceName& deviceName, const QString& localPath,
                                       Progress* progress, std::optional<uint32_t> listedLength,
                                       const BlockSink& sink, const std::function<bool()>& finish) {
    g_transferCancel.store(false);
    uint32_t handle = 0, length = 0;
    if (OpenRemoteFile(deviceName, &handle, &length) != kOpenDone)
        return kDownloadOpenFailed;
    RemoteFileGuard remote(*this, handle);
    // Two answers about one file that disagree: a copy of either length could be a cut or padded
    // recording, so there is none.
    if (listedLength && *listedLength != length)
        return kDownloadSizeMismatch;
    // Written beside its target: whatever ends the transfer early leaves nothing on the computer.
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        Message(kTextCannotCreateFile, kAppCaption, PromptIcon::Stop);
        return kDownloadNotCreated;
    }
    const uint32_t blocks = BlockCount(length);
    StartProgress(progress, blocks);
    for (uint32_t block = 0; block < blocks; ++block) {
        if (TakeCancel())
            return kDownloadCancelled;
        const uint32_t wanted = BlockBytes(length, block);
        const uint8_t* data = nullptr;
        ReadBlockResult read;
        while ((read = ReadRemoteBlock(handle, block, wanted, &data)) != kReadBlockDone && read != kReadBlockMore) {
            if (!m_prompts.askYesNo(
                    QCoreApplication::translate("zarno", "Ошибка при выдачи блока данных с удаленного диска! Повторить?"),
                    kCaptionError))
                return kDownloadGaveUp;
        }
        const BlockWrite written = sink(file, block, data, wanted, length);
        if (written != BlockWrite::Written) {
            Message(written == BlockWrite::NotARecording ? kTextDDBFormatError
                                                         : kTextLocalWriteFailed,
                    kAppCaption, PromptIcon::Stop);
            return kDownloadWriteFailed;
        }
        if (progress)
            progress->setValue(block + 1);
    }
    const bool closed = remote.Complete() == kCommandDone;
    if ((finish && !finish()) || !io::CommitWholeFile(file)) {
        Message(kTextLocalWriteFailed, kAppCaption, PromptIcon::Stop);
        return kDownloadWriteFailed;
    }
    return closed ? kDownloadDone : kDownloadCloseFailed;
}

UploadResult CRemoteDevice::CopyToDevice(const QString& localPath, const DeviceName& deviceName,
                                         Progress* progress) {
    g_transferCancel.store(false);
    uint32_t handle = 0;
    if (CreateRemoteFile(deviceName, &handle) != kCreateDone)
        return kUploadFailed;
    RemoteFileGuard remote(*this, handle, &deviceName);
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        Message(kTextCannotOpenLocal, kCaptionError, PromptIcon::Stop);
        return kUploadNotOpened;
    }
    const uint64_t length = static_cast<uint64_t>(file.size());
    const uint32_t blocks = BlockCount(length);
    StartProgress(progress, blocks);
    uint8_t data[kBlockSize];
    for (uint32_t block = 0; block < blocks;) {
        if (TakeCancel())
            return kUploadCancelled;
        // The file position always follows the block number, so a repeated or resumed block is
        // read again from its own start.
        const uint32_t bytes = BlockBytes(length, block);
        if (!file.seek(qint64(block) * kBlockSize) ||
            file.read(reinterpret_cast<char*>(data), bytes) != bytes) {
            Message(QT_TRANSLATE_NOOP("zarno", "Ошибка чтения блока данных на PC!"), kCaptionError, PromptIcon::Stop);
            return kUploadWriteFailed;
        }
        uint32_t expected = kNoBlockNumber;
        switch (WriteRemoteBlock(handle, data, block, bytes, &expected)) {
        case kWriteBlockDone:
            ++block;
            if (progress)
                progress->setValue(block);
            break;
        case kWriteBlockExchangeFailed:
            if (!m_prompts.askYesNo(
                    QCoreApplication::translate("zarno", "Ошибка при выдачи блока данных на удаленный диск! Повторить?"),
                    kCaptionError))
                return kUploadFailed;
            break;
        case kWriteBlockBadHandle:
            return kUploadBadHandle;
        case kWriteBlockWrongBlock:
            // The instrument names the next block it expects; a number past what was sent, or none
            // at all, cannot be resumed from.
            if (expected == kNoBlockNumber || expected > block)
                return kUploadWriteFailed;
            if (!m_prompts.askYesNo(QCoreApplication::translate("zarno", "Неправильный номер блока! Повторить?"), kCaptionError))
                return kUploadWrongBlock;
            block = expected;
            break;
        case kWriteBlockDiskFull:
            return kUploadDiskFull;
        }
    }
    return remote.Complete() == kCommandDone ? kUploadDone : kUploadCloseFailed;
}

} // namespace zarno
