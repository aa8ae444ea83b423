#pragma once
// zarno-cli's signal commands, on a SEG-Y file loaded as the viewer loads it (without creating or
// changing any file beside it):
//   measure  [--velocity V] [--json] FILE.sgy
//   spectrum [--window rect|blackman-harris|hamming] [--scale log|linear] [--filter] [-o FILE] FILE.sgy

#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringList>

namespace zarno::cli {

// args are the words after the command name. out receives the result, err the usage line of a
// wrong call; messages of the load go to prompts. 0 on success, 1 when the file could not be
// loaded or written, 2 for a wrong call.
int RunMeasure(const QStringList& args, QIODevice& out, QIODevice& err, Prompts& prompts);
int RunSpectrum(const QStringList& args, QIODevice& out, QIODevice& err, Prompts& prompts);

// The commands as zarno-cli runs them (declared with the others in cli/commands.h): standard
// output, standard error, messages on standard error.
int RunMeasureCommand(const QStringList& args);
int RunSpectrumCommand(const QStringList& args);

} // namespace zarno::cli
