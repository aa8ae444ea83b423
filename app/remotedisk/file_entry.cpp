#include "app/remotedisk/file_entry.h"

namespace zarno {

namespace {
void Place(DeviceName& name, size_t offset, size_t width, const QByteArray& text) {
    for (size_t i = 0; i < width; ++i)
        name[offset + i] = i < size_t(text.size()) ? static_cast<uint8_t>(text[qsizetype(i)]) : ' ';
}
} // namespace

DeviceName DirectoryDeviceName(const QString& directory) {
    DeviceName name{};
    Place(name, 0, 8, directory.toLatin1().left(8));
    Place(name, 8, 3, {});
    name[11] = kDirectoryAttribute;
    return name;
}

DeviceName NewFileDeviceName(const QString& typed) {
    const QByteArray bytes = typed.toLatin1();
    const qsizetype dot = bytes.indexOf('.');
    DeviceName name{};
    Place(name, 0, 8, (dot < 0 ? bytes : bytes.left(dot)).left(8));
    Place(name, 8, 3, dot < 0 ? QByteArray() : bytes.mid(dot + 1).left(3));
    name[11] = kNewFileAttribute;
    return name;
}

QDateTime FatDateTime(uint16_t date, uint16_t time) {
    const QDate day(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
    const QTime clock((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
    if (!day.isValid() || !clock.isValid())
        return {};
    return QDateTime(day, clock);
}

} // namespace zarno
