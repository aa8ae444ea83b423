#pragma once
// The checks a command makes on the files it is given, before it opens or writes any of them.

#include "app/formats/sgy_io.h"
#include "app/io/file_identity.h"
#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringList>

namespace zarno::cli {

// A SEG-Y input must be a regular file: opening a FIFO waits for a writer, and what it gives can be
// read only once and has no size to check the headers against. Anything else is refused with the
// format message, the reason on a second line, before it is opened.
inline bool SgyInputIsAFile(const QString& path, Prompts& prompts) {
    if (io::KindOfInput(path) != io::InputKind::NotRegular)
        return true; // a missing file is told by the load itself
    prompts.message(QStringLiteral("%1\n%2: not a regular file (a pipe, a device or a folder)")
                        .arg(QString::fromUtf8(kTextSGYFormatError), path),
                    QStringLiteral("Ошибка"), PromptIcon::Stop);
    return false;
}

// True (and the refusal written on err) when output is one of inputs under any name: the command
// would replace its own input with its result.
inline bool OutputIsAnInput(const QString& output, const QStringList& inputs, QIODevice& err) {
    const auto input = io::InputAt(output, inputs);
    if (input)
        err.write(QStringLiteral("zarno-cli: %1 is the input %2; it is not written over\n")
                      .arg(output, *input)
                      .toUtf8());
    return input.has_value();
}

} // namespace zarno::cli
