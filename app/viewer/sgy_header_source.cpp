#include "app/viewer/sgy_header_source.h"

#include "app/formats/convert_ddb_file.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"

#include <QCoreApplication>

#include <algorithm>

namespace zarno {

bool SgyHeaderSource::Open(const QString& path, Prompts& prompts) {
    const SGYOpenResult opened = OpenSGYFile(m_file, path, prompts);
    if (opened == SGYOpenResult::CannotOpen)
        prompts.message(Translated(kTextBadFileName), QStringLiteral("Error!"), PromptIcon::None);
    if (opened != SGYOpenResult::Opened)
        return false;
    SGYFileHeaders headers;
    m_valid = ReadSGYFileHeaders(m_file, headers, prompts);
    m_text = SGYTextualHeaderLines(headers.textual).join(QLatin1Char('\n'));
    m_binary = headers.binary;
    m_binaryRows = SGYBinaryHeaderRows(m_binary);
    if (m_valid) {
        m_layout = headers.resolved.layout;
        m_notes = headers.resolved.notes;
        const QString refusal = headers.resolved.refusal.isEmpty() ? SGYTracesRefusal(m_file, m_layout)
                                                                   : headers.resolved.refusal;
        if (!refusal.isEmpty())
            m_notes << refusal;
    }
    return true;
}

std::optional<std::vector<SGYHeaderRow>> SgyHeaderSource::TraceRows(qint64 n) {
    if (!m_valid || n < 0 || n >= m_layout.traceCount || !m_file.isOpen())
        return std::nullopt;
    const qint64 at = m_layout.TraceOffset(n);
    if (at + kSGYTraceHeaderSize > m_file.size() || !m_file.seek(at))
        return std::nullopt;
    SGYTraceHeader trace;
    if (ReadSGYTraceHeader(m_file, trace, m_layout.littleEndian) != kSGYTraceRead)
        return std::nullopt;
    return SGYTraceHeaderRows(trace);
}

qint64 TraceIndexOfText(const QString& text) {
    bool ok = false;
    const qint64 typed = text.trimmed().toLongLong(&ok);
    return ok ? std::max<qint64>(typed - 1, 0) : 0;
}

} // namespace zarno
