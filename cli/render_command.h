#pragma once
// zarno-cli render: the picture the viewer's signal view shows after opening a SEG-Y file, drawn
// off screen and written as a 24-bit PNG.
//   render [--width W] [--height H] [--spectrum] [--single N] [--fill line|upper|lower] [--no-grid]
//          [--marker SAMPLE]... [--time|--length] [--velocity V] -o OUT.png FILE.sgy

#include "app/seams/prompts.h"

#include <QIODevice>
#include <QStringList>

namespace zarno::cli {

// 0 when the picture was written, 1 when the file could not be loaded, drawn or written, 2 for a
// wrong call (the usage line goes to err).
int RunRender(const QStringList& args, QIODevice& err, Prompts& prompts);

int RunRenderCommand(const QStringList& args);

} // namespace zarno::cli
