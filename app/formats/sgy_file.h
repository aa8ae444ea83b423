#pragma once
// A SEG-Y file opened and its headers read and checked as one, as every reader of a file starts:
// the signal viewer's load (and with it `measure`, `render` and `report`), the header viewer and
// `headers`. Whatever stops a file from being read is said once, here, as the second line of
// "Ошибка в формате SGY файла!".

#include "app/formats/sgy_headers.h"
#include "app/formats/sgy_layout.h"

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;

namespace zarno {

class Prompts;

enum class SGYOpenResult {
    Opened,
    CannotOpen, // the caller says "Неверно задано имя файла!" in its own words
    NotAFile,   // a pipe, a FIFO, a device or a directory: told here with the format message
};
// Opens path for reading. A SEG-Y file is read at the offsets its headers give, so input that can
// only be read in one pass (a pipe such as <(cat f.sgy), a FIFO) cannot be one; it is refused before
// it is opened, since opening a FIFO nobody writes to would never return.
SGYOpenResult OpenSGYFile(QFile& file, const QString& path, Prompts& prompts);
// The same refusal on its own, for commands that check all their inputs before they read any: false
// (after the format message and its reason) when path exists and is not a regular file.
bool SGYInputIsAFile(const QString& path, Prompts& prompts);

struct SGYFileHeaders {
    QByteArray textual; // the 3200 bytes as read (fewer when the file is shorter)
    SGYBinaryHeader binary{};
    SGYTraceHeader firstTrace{};
    SGYLayoutResult resolved;
};
// Reads the textual, binary and first trace headers from the start of file and resolves the
// layout; false after the binary header's own format message. A layout that cannot be read is left
// in resolved.refusal for the caller: the header viewers still show such a file.
bool ReadSGYFileHeaders(QIODevice& file, SGYFileHeaders& out, Prompts& prompts);

// Why the samples of this file cannot be read as laid out: the file is shorter than its headers
// claim, or one of its traces says it has another number of samples. Empty when they can.
QString SGYTracesRefusal(QIODevice& file, const SGYLayout& layout);

// ReadSGYFileHeaders, then the layout and the traces checked; false after the format message with
// its reason. This is what a reader of samples calls.
bool ReadSGYFileForSamples(QIODevice& file, SGYFileHeaders& out, Prompts& prompts);

} // namespace zarno
