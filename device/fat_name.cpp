#include "device/fat_name.h"

#include "app/remotedisk/device_name.h"

#include <algorithm>

namespace zarno::device {
namespace {

constexpr size_t kNameLen = 8;
constexpr size_t kExtLen = 3;

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies one field (text upper-cased, then padding) into out; the text has passed FitsDeviceName.
void FillField(std::string_view text, char* out, size_t width) {
    for (size_t i = 0; i < width; ++i)
        out[i] = i < text.size() ? Upper(text[i]) : ' ';
}

bool IsPad(uint8_t b) {
    return b == ' ' || b == 0;
}

// The text of a padded field: characters up to the first pad, and nothing but pads after it.
std::optional<std::string_view> FieldText(std::span<const uint8_t> field) {
    const auto firstPad = std::find_if(field.begin(), field.end(), IsPad);
    if (!std::all_of(firstPad, field.end(), IsPad))
        return std::nullopt;
    const auto len = static_cast<size_t>(firstPad - field.begin());
    return std::string_view(reinterpret_cast<const char*>(field.data()), len);
}

} // namespace

std::optional<ShortName> ShortNameOf(std::string_view diskName) {
    // "NAME." would be served as "NAME", which is another file of the served directory.
    if (diskName.empty() || diskName.back() == '.')
        return std::nullopt;
    if (!FitsDeviceName(QString::fromLatin1(diskName.data(), qsizetype(diskName.size()))))
        return std::nullopt;
    const size_t dot = diskName.find('.');
    ShortName out{};
    FillField(diskName.substr(0, dot), out.data(), kNameLen);
    FillField(dot == std::string_view::npos ? std::string_view{} : diskName.substr(dot + 1),
              out.data() + kNameLen, kExtLen);
    return out;
}

std::optional<ShortName> ParseShortName(std::span<const uint8_t, 11> bytes) {
    const auto base = FieldText(bytes.first<kNameLen>());
    const auto ext = FieldText(bytes.subspan<kNameLen, kExtLen>());
    // A "." inside the name field would read as the start of an extension.
    if (!base || !ext || base->find('.') != std::string_view::npos)
        return std::nullopt;
    std::string typed(*base);
    if (!ext->empty())
        typed.append(".").append(*ext);
    return ShortNameOf(typed);
}

std::string DiskNameOf(const ShortName& name) {
    const std::string_view all(name.data(), name.size());
    std::string_view base = all.substr(0, kNameLen);
    base = base.substr(0, base.find(' '));
    std::string_view ext = all.substr(kNameLen);
    ext = ext.substr(0, ext.find(' '));
    std::string out(base);
    if (!ext.empty())
        out.append(".").append(ext);
    return out;
}

bool IsDotsName(std::span<const uint8_t, 11> bytes, std::string_view dots) {
    const auto base = FieldText(bytes.first<kNameLen>());
    const auto ext = FieldText(bytes.subspan<kNameLen, kExtLen>());
    return base && ext && *base == dots && ext->empty();
}

FatStamp FatStampOf(std::time_t moment) {
    std::tm t{};
    if (!localtime_r(&moment, &t))
        return {};
    if (t.tm_year < 80) // before 1980: the earliest FAT date
        return {0, static_cast<uint16_t>((1 << 5) | 1)};
    if (t.tm_year > 207) // after 2107: the latest
        return {static_cast<uint16_t>((23 << 11) | (59 << 5) | 29),
                static_cast<uint16_t>((127 << 9) | (12 << 5) | 31)};
    const auto time = (t.tm_hour << 11) | (t.tm_min << 5) | (std::min(t.tm_sec, 59) / 2);
    const auto date = ((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday;
    return {static_cast<uint16_t>(time), static_cast<uint16_t>(date)};
}

} // namespace zarno::device
