#include "app/formats/sgy_file.h"

#include "app/formats/sgy_io.h"
#include "app/seams/prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace zarno {

namespace {

QString NotAFileText() {
    return QCoreApplication::translate(
        "zarno::Formats", "Это не обычный файл (канал, FIFO или устройство): его нельзя читать по смещениям");
}

// Writers of single-line data often leave the traces-per-record field at 0; the traces are then as
// many as the file holds whole.
void CountTracesWhereUnsaid(qint64 fileSize, SGYLayoutResult& resolved) {
    SGYLayout& layout = resolved.layout;
    if (layout.traceCount != 0 || !resolved.refusal.isEmpty() || fileSize <= layout.firstTraceOffset)
        return;
    layout.traceCount = (fileSize - layout.firstTraceOffset) / layout.TraceSize();
    if (layout.traceCount > 0)
        resolved.notes << QCoreApplication::translate(
                              "zarno::Formats", "Число трасс в заголовке не указано; по размеру файла их %1")
                              .arg(layout.traceCount);
}

} // namespace

bool SGYInputIsAFile(const QString& path, Prompts& prompts) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return true; // a missing file is told by the open itself
    TellSGYFormatError(prompts, NotAFileText());
    return false;
}

SGYOpenResult OpenSGYFile(QFile& file, const QString& path, Prompts& prompts) {
    if (!SGYInputIsAFile(path, prompts))
        return SGYOpenResult::NotAFile;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return SGYOpenResult::CannotOpen;
    // The name may have changed into a pipe between the look and the open.
    if (file.isSequential()) {
        file.close();
        TellSGYFormatError(prompts, NotAFileText());
        return SGYOpenResult::NotAFile;
    }
    return SGYOpenResult::Opened;
}

bool ReadSGYFileHeaders(QIODevice& file, SGYFileHeaders& out, Prompts& prompts) {
    out.textual = file.seek(0) ? file.read(kSGYTextualHeaderSize) : QByteArray();
    // Without both headers whole there is nothing to tell the format by: saying so beats naming the
    // format code 0 that the missing bytes would read as.
    if (file.size() < kSGYFirstTraceOffset) {
        TellSGYFormatError(prompts, QCoreApplication::translate(
                                        "zarno::Formats", "Файл короче заголовков SEG-Y: %1 байт вместо %2")
                                        .arg(file.size())
                                        .arg(kSGYFirstTraceOffset));
        return false;
    }
    bool little = false;
    if (!file.seek(kSGYBinaryHeaderOffset) ||
        ReadSGYBinaryHeader(file, out.binary, little, prompts) != kSGYBinaryRead)
        return false;
    const qint64 first = SGYFirstTraceOffset(out.binary, little);
    out.firstTrace = SGYTraceHeader{};
    if (first < file.size() && file.seek(first))
        ReadSGYTraceHeader(file, out.firstTrace, little);
    out.resolved = ResolveSGYLayout(out.binary, little, out.firstTrace);
    CountTracesWhereUnsaid(file.size(), out.resolved);
    return true;
}

QString SGYTracesRefusal(QIODevice& file, const SGYLayout& layout) {
    if (layout.traceCount == 0)
        return QCoreApplication::translate("zarno::Formats", "В файле нет ни одной трассы");
    const qint64 size = file.size();
    if (size < layout.FileSize())
        return QCoreApplication::translate(
                   "zarno::Formats",
                   "Файл короче, чем сказано в его заголовках: %1 байт вместо %2 (%3 трасс по %4 отсчётов)")
            .arg(size)
            .arg(layout.FileSize())
            .arg(layout.traceCount)
            .arg(layout.samplesPerTrace);
    for (qint64 i = 0; i < layout.traceCount; ++i) {
        SGYTraceHeader trace;
        if (!file.seek(layout.TraceOffset(i)) ||
            ReadSGYTraceHeader(file, trace, layout.littleEndian) != kSGYTraceRead)
            return QCoreApplication::translate("zarno::Formats", "Заголовок трассы %1 не читается")
                .arg(i + 1);
        // A trace that gives no count of its own is taken to have the file's; a revision 2 count
        // beyond 16 bits cannot be given there at all.
        if (trace.sampleCount != 0 && layout.samplesPerTrace <= 0xFFFF &&
            trace.sampleCount != layout.samplesPerTrace)
            return QCoreApplication::translate(
                       "zarno::Formats",
                       "Трассы разной длины: в трассе %1 %2 отсчётов, а по заголовку файла %3")
                .arg(i + 1)
                .arg(trace.sampleCount)
                .arg(layout.samplesPerTrace);
    }
    return QString();
}

bool ReadSGYFileForSamples(QIODevice& file, SGYFileHeaders& out, Prompts& prompts) {
    if (!ReadSGYFileHeaders(file, out, prompts))
        return false;
    QString refusal = out.resolved.refusal;
    if (refusal.isEmpty())
        refusal = SGYTracesRefusal(file, out.resolved.layout);
    if (!refusal.isEmpty()) {
        TellSGYFormatError(prompts, refusal);
        return false;
    }
    return true;
}

} // namespace zarno
