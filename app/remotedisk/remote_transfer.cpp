// Files between the computer and the instrument in numbered blocks of 512 bytes, with retry
// questions, the transfer-cancel flag, and clean-up on every exit: a failed or cancelled download
// leaves no file on the computer (it is written beside its target and renamed only when whole), a
// failed or cancelled upload leaves none on the instrument.

#include "app/remotedisk/remote_device.h"

#include "app/formats/ddb_to_sgy.h"
#include "app/io/whole_file.h"
#include "app/remotedisk/transfer_cancel.h"

#include <QFile>
#include <QSaveFile>

namespace zarno {

namespace {
const char* const kErrorBang = "Error!";

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
} // namespace

int CRemoteDevice::CopyFromDevice(const DeviceName& deviceName, const QString& localPath,
                                  Progress* progress) {
    return Download(deviceName, localPath, progress,
                    [](QSaveFile& file, uint32_t, const uint8_t* data, uint32_t bytes, uint32_t) {
                        return file.write(reinterpret_cast<const char*>(data), bytes) == qint64(bytes);
                    });
}

int CRemoteDevice::CopyFromDeviceAsSgy(const DeviceName& deviceName, const QString& localPath,
                                       Progress* progress) {
    DDBToSGYConverter converter(SGYTextVariant::Device);
    bool badHeader = false;
    return Download(
        deviceName, localPath, progress,
        [&](QSaveFile& file, uint32_t block, const uint8_t* data, uint32_t bytes, uint32_t length) {
            const QByteArrayView view(reinterpret_cast<const char*>(data), bytes);
            if (block != 0)
                return converter.pushDataBlock(view);
            // The SEG-Y file is laid out from the header before any sample.
            if (converter.pushHeaderBlock(view) != DDBHeaderCheck::Ok ||
                !DDBDataComplete(converter.header(), length)) {
                badHeader = true;
                return false;
            }
            return converter.begin(file);
        },
        [&] { return converter.finish(); }, &badHeader);
}

int CRemoteDevice::Download(const DeviceName& deviceName, const QString& localPath, Progress* progress,
                            const BlockSink& sink, const std::function<bool()>& finish,
                            const bool* badHeader) {
    g_transferCancel.store(false);
    uint32_t handle = 0, length = 0;
    if (OpenRemoteFile(deviceName, &handle, &length) < 1)
        return -1;
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        Message("Ошибка при создании файла на PC!", kAppCaption, PromptIcon::Stop);
        CloseRemoteFile(handle);
        return -2;
    }
    // Every failure below: the remote file is closed and nothing is left on the computer.
    const auto abandon = [&](int result) {
        CloseRemoteFile(handle);
        file.cancelWriting();
        return result;
    };
    const uint32_t blocks = BlockCount(length);
    StartProgress(progress, blocks);
    for (uint32_t block = 0; block < blocks; ++block) {
        if (TakeCancel())
            return abandon(2);
        const uint32_t wanted = BlockBytes(length, block);
        const uint8_t* data = nullptr;
        int read;
        while ((read = ReadRemoteBlock(handle, block, wanted, &data)) != 1 && read != kStatusMore) {
            if (!m_prompts.askYesNo(
                    QString::fromUtf8("Ошибка при выдачи блока данных с удаленного диска! Повторить?"),
                    kErrorBang))
                return abandon(-5);
        }
        if (!sink(file, block, data, wanted, length)) {
            Message(badHeader && *badHeader ? "Ошибка в формате DDB файла!"
                                            : "Ошибка записи блока данных на PC!",
                    kAppCaption, PromptIcon::Stop);
            return abandon(-6);
        }
        if (progress)
            progress->setValue(block + 1);
    }
    const bool closed = CloseRemoteFile(handle) == 1;
    if ((finish && !finish()) || !io::CommitWholeFile(file)) {
        Message("Ошибка записи блока данных на PC!", kAppCaption, PromptIcon::Stop);
        return -6;
    }
    return closed ? 1 : -7;
}

int CRemoteDevice::CopyToDevice(const QString& localPath, const DeviceName& deviceName, Progress* progress) {
    g_transferCancel.store(false);
    uint32_t handle = 0;
    if (CreateRemoteFile(deviceName, &handle) < 1)
        return 0;
    const auto discardRemote = [&] {
        CloseRemoteFile(handle);
        DeleteRemoteFile(deviceName);
    };
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        Message("Невозможно открыть файл на компьютере!", kErrorBang, PromptIcon::Stop);
        discardRemote();
        return 7;
    }
    const uint64_t length = static_cast<uint64_t>(file.size());
    const uint32_t blocks = BlockCount(length);
    StartProgress(progress, blocks);
    uint8_t data[kBlockSize];
    for (uint32_t block = 0; block < blocks;) {
        if (TakeCancel()) {
            discardRemote();
            return 2;
        }
        // The file position always follows the block number, so a repeated or resumed block is
        // read again from its own start.
        const uint32_t bytes = BlockBytes(length, block);
        if (!file.seek(qint64(block) * kBlockSize) ||
            file.read(reinterpret_cast<char*>(data), bytes) != bytes) {
            Message("Ошибка чтения блока данных на PC!", kErrorBang, PromptIcon::Stop);
            discardRemote();
            return -6;
        }
        uint32_t expected = kNoBlockNumber;
        switch (WriteRemoteBlock(handle, data, block, bytes, &expected)) {
        case 1:
            ++block;
            if (progress)
                progress->setValue(block);
            break;
        case 0:
            if (!m_prompts.askYesNo(
                    QString::fromUtf8("Ошибка при выдачи блока данных на удаленный диск! Повторить?"),
                    kErrorBang)) {
                discardRemote();
                return 0;
            }
            break;
        case -1:
            discardRemote();
            return -1;
        case -2:
            // The instrument names the next block it expects; a number past what was sent, or none
            // at all, cannot be resumed from.
            if (expected == kNoBlockNumber || expected > block) {
                discardRemote();
                return -6;
            }
            if (!m_prompts.askYesNo(QString::fromUtf8("Неправильный номер блока! Повторить?"), kErrorBang)) {
                discardRemote();
                return -2;
            }
            block = expected;
            break;
        case -5:
            discardRemote();
            return -5;
        default:
            discardRemote();
            return -6;
        }
    }
    CloseRemoteFile(handle);
    return 1;
}

} // namespace zarno
