#pragma once
// Messages kept as constants (shared by several callers, or in tables) are marked with
// QT_TRANSLATE_NOOP("zarno", "...") where they are written and translated where they are shown.

#include "app/i18n/texts.h"

#include <QCoreApplication>
#include <QString>

namespace zarno {

// The translation of a message marked QT_TRANSLATE_NOOP("zarno", ...): the English text in English,
// the text as written in Russian.
inline QString Translated(const char* text) {
    return QCoreApplication::translate("zarno", text);
}

} // namespace zarno
