// zarno-cli headers [--trace N] [--json] FILE.sgy
// The textual header (EBCDIC or ASCII, up to its first NUL, in its lines: 40 lines of 80 for a
// standard one), the twelve binary-header rows, what the reader noticed about the headers (fields
// that disagree, why the samples could not be read) and the 42 rows of trace N (from 1, default 1),
// labelled as in the header viewer. --json gives the same as one object whose header fields are
// keyed by their offsets. A trace past the end of the file is reported, never shown with made-up
// values.

#include "app/formats/convert_ddb_file.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "app/seams/stderr_prompts.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"

#include <QFile>
#include <QJsonArray>
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
    QStringList text;
    SGYBinaryHeader binary;
    SGYTraceHeader trace;
    QStringList notes;
};

// Reads the headers; on failure reports it and returns false.
bool ReadHeaders(const HeadersOptions& options, Headers& out) {
    StderrPrompts prompts;
    QFile file;
    const SGYOpenResult opened = OpenSGYFile(file, options.file, prompts);
    if (opened == SGYOpenResult::CannotOpen)
        prompts.message(Translated(kTextBadFileName), QString::fromUtf8(kCaptionError), PromptIcon::Stop);
    if (opened != SGYOpenResult::Opened)
        return false;
    SGYFileHeaders headers;
    if (!ReadSGYFileHeaders(file, headers, prompts))
        return false;
    out.text = SGYTextualHeaderLines(headers.textual);
    out.binary = headers.binary;
    const SGYLayout& layout = headers.resolved.layout;
    out.notes = headers.resolved.notes;
    const QString refusal =
        headers.resolved.refusal.isEmpty() ? SGYTracesRefusal(file, layout) : headers.resolved.refusal;
    if (!refusal.isEmpty())
        out.notes << Translated(kTextSGYFormatError) + QLatin1Char(' ') + refusal;
    const qint64 index = options.trace - 1;
    const qint64 traces = layout.traceCount;
    if (index >= traces || !file.seek(layout.TraceOffset(index)) ||
        ReadSGYTraceHeader(file, out.trace, layout.littleEndian) != kSGYTraceRead) {
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
            {"textualHeader", headers.text.join('\n')},
            {"binaryHeader", RowsObject(binaryRows)},
            {"notes", QJsonArray::fromStringList(headers.notes)},
            {"trace", options.trace},
            {"traceHeader", RowsObject(traceRows)},
        };
        std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
        return kExitOk;
    }
    PrintLine("Textual header:");
    for (const QString& line : headers.text)
        PrintLine(EscapeControls(line));
    PrintLine("");
    PrintLine("Binary header:");
    PrintRows(binaryRows);
    for (const QString& note : headers.notes)
        PrintLine("Note: " + note);
    PrintLine("");
    PrintLine(QString("Trace %1 header:").arg(options.trace));
    PrintRows(traceRows);
    return kExitOk;
}

} // namespace zarno::cli
