#pragma once
// Which device stands behind "COM1" and "COM2": the settings of QSettings("Mervo", "Common"), group
// "Ports" (defaults /dev/ttyS0 and /dev/ttyS1), overridden by VELNET_COM1 / VELNET_COM2. The
// transport library resolves names the same way, so what the program checks is what it will open.

#include <QString>

namespace zarno {

QString ComDevicePath(const QString& name);

// Opens the port exclusively, reads its line state and closes it again: true when both work.
bool ComPortPresent(const QString& name);

} // namespace zarno
