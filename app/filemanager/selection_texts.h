#pragma once
// What a selection may not hold for a copy or a delete. The selection commands tell it before any
// dialog opens, and the operations beneath the dialogs tell it again for the selections they are
// handed, so the texts live here, where both may reach them.

#include "app/i18n/texts.h"

namespace zarno {

inline constexpr const char* kTextNoDirectoryCopy = QT_TRANSLATE_NOOP("zarno", "Копирование каталогов запрещено!");
inline constexpr const char* kTextNoManyDirectoriesDelete = QT_TRANSLATE_NOOP("zarno", "Стирание нескольких каталогов запрещено!");

} // namespace zarno
