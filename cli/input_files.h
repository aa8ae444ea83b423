#pragma once
// The checks a command makes on the files it is given, before it opens or writes any of them (a
// SEG-Y input that is not a regular file is refused by the reader's own SGYInputIsAFile).

#include "app/formats/sgy_file.h"
#include "app/io/file_identity.h"
#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringList>

namespace zarno::cli {

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
