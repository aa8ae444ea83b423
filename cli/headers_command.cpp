// zarno-cli headers [--trace N] [--json] FILE.sgy
// The textual header (up to its first NUL, at most 3200 characters), the twelve binary-header rows
// and the 42 rows of trace N (from 1, default 1), labelled as in the header viewer. --json gives the
// same as one object whose header fields are keyed by their offsets. A trace past the end of the
// file is reported, never shown with made-up values.

#include "app/formats/convert_ddb_file.h"
#include "app/formats/sgy_io.h"
#include "app/seams/stderr_prompts.h"
#include "cli/commands.h"
#include "cli/input_files.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace zarno::cli {

namespace {

struct HeadersOptions {
    qint64 trace = 1;
    bool json = false;
    QString file;
};

bool ParseHeaders(const QStringList& args, HeadersOptions& options) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            options.json = true;
        } else if (args[i] == "--trace") {
            bool ok = false;
            if (++i == args.size() || (options.trace = args[i].toLongLong(&ok), !ok) || options.trace < 1)
                return false;
        } else if (args[i].startsWith('-') || !options.file.isEmpty()) {
            return false;
        } else {
            options.file = args[i];
        }
    }
    return !options.file.isEmpty();
}

// The textual header comes from the file as it is: a control character in it (an escape sequence,
// a carriage return, a C1 code that the 8-bit code page decodes to) would act on the terminal
// instead of being shown. Each one is shown as \xNN.
QString EscapeControls(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            shown += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QJsonObject RowsObject(const std::vector<SGYHeaderRow>& rows) {
    QJsonObject object;
    for (const SGYHeaderRow& row : rows)
        object.insert(QString::number(row.offset), QJsonObject{{"label", row.label}, {"value", row.value}});
    return object;
}

void PrintRows(const std::vector<SGYHeaderRow>& rows) {
    for (const SGYHeaderRow& row : rows)
        PrintLine(QString("%1  %2  %3").arg(row.offset, 3).arg(row.label.leftJustified(48)).arg(row.value));
}

struct Headers {
    QString text;
    SGYBinaryHeader binary;
    SGYTraceHeader trace;
};

// Reads the headers; on failure reports it and returns false.
bool ReadHeaders(const HeadersOptions& options, Headers& out) {
    StderrPrompts prompts;
    if (!SgyInputIsAFile(options.file, prompts))
        return false;
    QFile file(options.file);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.message(QString::fromUtf8(kTextBadFileName), QString::fromUtf8(kCaptionError), PromptIcon::Stop);
        return false;
    }
    out.text = SGYTextualHeaderText(file.read(kSGYTextualHeaderSize));
    bool little = false;
    if (!file.seek(kSGYBinaryHeaderOffset) || ReadSGYBinaryHeader(file, out.binary, little, prompts) != kSGYBinaryRead)
        return false;
    const qint64 index = options.trace - 1;
    const qint64 traces = out.binary.tracesPerRecord;
    if (index >= traces || !file.seek(SGYTraceOffset(out.binary, index)) ||
        ReadSGYTraceHeader(file, out.trace, little) != kSGYTraceRead) {
        PrintError(QString("trace %1 is past the end of %2 (%3 traces)")
                       .arg(options.trace)
                       .arg(options.file)
                       .arg(traces));
        return false;
    }
    return true;
}

} // namespace

int RunHeaders(const QStringList& args) {
    HeadersOptions options;
    if (!ParseHeaders(args, options)) {
        PrintError("usage: zarno-cli headers [--trace N] [--json] FILE.sgy");
        return kExitUsage;
    }
    Headers headers;
    if (!ReadHeaders(options, headers))
        return kExitFailed;
    const auto binaryRows = SGYBinaryHeaderRows(headers.binary);
    const auto traceRows = SGYTraceHeaderRows(headers.trace);
    if (options.json) {
        const QJsonObject object{
            {"textualHeader", headers.text},
            {"binaryHeader", RowsObject(binaryRows)},
            {"trace", options.trace},
            {"traceHeader", RowsObject(traceRows)},
        };
        std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
        return kExitOk;
    }
    PrintLine("Textual header:");
    PrintLine(EscapeControls(headers.text));
    PrintLine("");
    PrintLine("Binary header:");
    PrintRows(binaryRows);
    PrintLine("");
    PrintLine(QString("Trace %1 header:").arg(options.trace));
    PrintRows(traceRows);
    return kExitOk;
}

} // namespace zarno::cli
