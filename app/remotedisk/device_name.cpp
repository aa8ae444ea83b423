#include "app/remotedisk/device_name.h"

namespace zarno {

namespace {

constexpr qsizetype kNameChars = 8;
constexpr qsizetype kExtensionChars = 3;

bool IsDeviceNameChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9'))
        return true;
    static const QString kPunctuation = QStringLiteral("$%'-_@~`!(){}^#&");
    return kPunctuation.contains(c);
}

bool FitsField(QStringView text, qsizetype maxChars) {
    if (text.size() > maxChars)
        return false;
    for (QChar c : text)
        if (!IsDeviceNameChar(c))
            return false;
    return true;
}

void Place(DeviceName& name, size_t offset, size_t width, const QByteArray& text) {
    for (size_t i = 0; i < width; ++i)
        name[offset + i] = i < size_t(text.size()) ? static_cast<uint8_t>(text[qsizetype(i)]) : ' ';
}

} // namespace

bool FitsDeviceName(const QString& name) {
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const QStringView base = dot < 0 ? QStringView(name) : QStringView(name).left(dot);
    const QStringView extension = dot < 0 ? QStringView() : QStringView(name).mid(dot + 1);
    return !base.isEmpty() && FitsField(base, kNameChars) && FitsField(extension, kExtensionChars);
}

bool FitsDeviceDirectoryName(const QString& name) {
    return FitsDeviceName(name) && !name.contains(QLatin1Char('.'));
}

DeviceName DirectoryDeviceName(const QString& directory) {
    DeviceName name{};
    Place(name, 0, kNameChars, directory.toLatin1().left(kNameChars));
    Place(name, kNameChars, kExtensionChars, {});
    name[11] = kDirectoryAttribute;
    return name;
}

DeviceName NewFileDeviceName(const QString& typed) {
    const QByteArray bytes = typed.toLatin1();
    const qsizetype dot = bytes.indexOf('.');
    DeviceName name{};
    Place(name, 0, kNameChars, (dot < 0 ? bytes : bytes.left(dot)).left(kNameChars));
    Place(name, kNameChars, kExtensionChars, dot < 0 ? QByteArray() : bytes.mid(dot + 1).left(kExtensionChars));
    name[11] = kNewFileAttribute;
    return name;
}

} // namespace zarno
