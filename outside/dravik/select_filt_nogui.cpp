// SelectFiltA of a build without Qt Widgets: there is no dialog to show.

#include "outside/dravik/dravik.h"

#include <cstdio>

extern "C" int32_t SelectFiltA(DravikFilterRecord*) {
    std::fprintf(stderr, "Dravik: библиотека собрана без окон, параметры фильтра не изменены\n");
    return 0;
}
