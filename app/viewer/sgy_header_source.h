#pragma once
// What the header viewer shows of one SEG-Y file: its textual header, the twelve binary-header
// rows and the 42 rows of any trace header. The file stays open while the viewer is, and is read
// in its own byte order.

#include "app/formats/sgy_headers.h"
#include "app/formats/sgy_layout.h"
#include "app/seams/prompts.h"

#include <QFile>
#include <QString>

#include <QStringList>

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace zarno {

class SgyHeaderSource {
public:
    // Opens the file and reads its textual and binary headers. False after "Неверно задано имя
    // файла!" when it cannot be opened, or after the reader's message when it is not a file; a
    // binary header that is not recognised is told by the reader and leaves the rows without values.
    bool Open(const QString& path, Prompts& prompts);

    // The textual header decoded, in its lines.
    const QString& Text() const { return m_text; }
    // What the reader noticed: header fields that disagree, and why the samples could not be read.
    const QStringList& Notes() const { return m_notes; }
    // The binary-header rows; their values are empty when the header was not recognised.
    const std::vector<SGYHeaderRow>& BinaryRows() const { return m_binaryRows; }
    bool BinaryValid() const { return m_valid; }
    int TraceCount() const { return m_valid ? int(std::min<qint64>(m_layout.traceCount, INT_MAX)) : 0; }

    // The 42 rows of trace n's header (0-based); nothing when the file does not hold that header
    // whole (past the last trace, a short file, no valid binary header).
    std::optional<std::vector<SGYHeaderRow>> TraceRows(qint64 n);

private:
    QFile m_file;
    QString m_text;
    SGYBinaryHeader m_binary{};
    SGYLayout m_layout;
    bool m_valid = false;
    QStringList m_notes;
    std::vector<SGYHeaderRow> m_binaryRows;
};

// "n" as the trace number field reads it: the number typed minus one, an empty or non-numeric
// text (and −1) giving 0.
qint64 TraceIndexOfText(const QString& text);

} // namespace zarno
