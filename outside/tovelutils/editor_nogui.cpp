// The editor and the question of a build without Qt Widgets: there is nothing to show.

#include "outside/tovelutils/tovel_utils.h"

#include <cstdio>

extern "C" int32_t TovelUtils2(int32_t*, int32_t*, int32_t, double*) {
    std::fprintf(stderr, "TovelUtils: библиотека собрана без окон, параметры ВАРУ не изменены\n");
    return 0;
}

extern "C" int32_t TovelUtils3(void*) {
    std::fprintf(stderr, "TovelUtils: библиотека собрана без окон, настройка ВАРУ отменена\n");
    return 0;
}
