#include "app/viewer/sgy_header_source.h"

#include "app/formats/sgy_io.h"

#include <algorithm>

namespace zarno {

bool SgyHeaderSource::Open(const QString& path, Prompts& prompts) {
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        prompts.message(QStringLiteral("Неверно задано имя файла!"), QStringLiteral("Error!"), PromptIcon::None);
        return false;
    }
    m_text = SGYTextualHeaderText(m_file.read(kSGYTextualHeaderSize));
    m_file.seek(kSGYBinaryHeaderOffset);
    m_valid = ReadSGYBinaryHeader(m_file, m_binary, m_littleEndian, prompts) == kSGYBinaryRead;
    m_binaryRows = SGYBinaryHeaderRows(m_binary);
    return true;
}

std::optional<std::vector<SGYHeaderRow>> SgyHeaderSource::TraceRows(qint64 n) {
    if (!m_valid || n < 0 || n >= m_binary.tracesPerRecord || !m_file.isOpen())
        return std::nullopt;
    const qint64 at = SGYTraceOffset(m_binary, n);
    if (at + kSGYTraceHeaderSize > m_file.size() || !m_file.seek(at))
        return std::nullopt;
    SGYTraceHeader trace;
    if (ReadSGYTraceHeader(m_file, trace, m_littleEndian) != kSGYTraceRead)
        return std::nullopt;
    return SGYTraceHeaderRows(trace);
}

qint64 TraceIndexOfText(const QString& text) {
    bool ok = false;
    const qint64 typed = text.trimmed().toLongLong(&ok);
    return ok ? std::max<qint64>(typed - 1, 0) : 0;
}

} // namespace zarno
