#include "app/remotedisk/file_entry.h"

namespace zarno {

QDateTime FatDateTime(uint16_t date, uint16_t time) {
    const QDate day(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
    const QTime clock((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
    if (!day.isValid() || !clock.isValid())
        return {};
    return QDateTime(day, clock);
}

} // namespace zarno
