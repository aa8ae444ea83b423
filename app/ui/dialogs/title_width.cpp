#include "app/ui/dialogs/title_width.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace zarno {

namespace {
// The title bar's icon, its close, maximise and minimise buttons and the margins between them.
constexpr int kTitleBarChrome = 130;
} // namespace

int TitleWidth(const QWidget& window) {
    QFont titleFont = window.font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) + kTitleBarChrome;
}

void KeepTitleVisible(QWidget& window) {
    window.setMinimumWidth(std::max(window.minimumWidth(), TitleWidth(window)));
}

} // namespace zarno
