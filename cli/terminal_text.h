#pragma once
// Text from outside (a file's header, an instrument's listing) on the terminal.

#include <QString>

namespace zarno::cli {

// A control character in such text (an escape sequence, a carriage return, a C1 code that the 8-bit
// code page decodes to) would act on the terminal instead of being shown: each one is shown as \xNN.
QString EscapeControls(const QString& text);

} // namespace zarno::cli
