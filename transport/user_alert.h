#pragma once
// Tells the user about a failure the library cannot report through a result (a port that cannot be
// opened): a message box when the host is a Qt GUI application, otherwise a line on standard error.

#include <string>

namespace velnet {

void ShowUserAlert(const std::string& text);

} // namespace velnet
