// The editor and the question of a build without Qt Widgets: there is nothing to show.

#include "outside/tovelutils/editor_module.h"

#include <cstdio>

extern "C" int32_t TovelEditorEdit(int32_t*, int32_t*, int32_t, double*) {
    std::fprintf(stderr, "TovelUtils: библиотека собрана без окон, параметры ВАРУ не изменены\n");
    return 0;
}

extern "C" int32_t TovelEditorAsk(void*) {
    std::fprintf(stderr, "TovelUtils: библиотека собрана без окон, настройка ВАРУ отменена\n");
    return 0;
}
