#pragma once
// Opening a computer file with the program the desktop associates with it. The desktop's opener
// runs as a child process; when it cannot start, or ends saying that it found no program or could
// not start one, the caller hears of it, so that the user is never left wondering why nothing
// happened.

#include <QString>

#include <functional>

class QObject;

namespace zarno {

// Starts the desktop's opener for `path` and returns at once. `failed` runs later, on the event
// loop, when the file could not be opened, and never after `context` is gone.
void OpenWithDesktopProgram(const QString& path, QObject* context, std::function<void()> failed);

} // namespace zarno
