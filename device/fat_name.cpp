#include "device/fat_name.h"

#include <algorithm>

namespace zarno::device {
namespace {

constexpr size_t kNameLen = 8;
constexpr size_t kExtLen = 3;

bool IsShortNameChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    constexpr std::string_view kPunctuation = "$%'-_@~`!(){}^#&";
    return kPunctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies one field (text, then padding) into out; false when the text is too long or invalid.
bool FillField(std::string_view text, char* out, size_t width) {
    if (text.size() > width)
        return false;
    for (size_t i = 0; i < width; ++i) {
        if (i >= text.size()) {
            out[i] = ' ';
            continue;
        }
        if (!IsShortNameChar(static_cast<unsigned char>(text[i])))
            return false;
        out[i] = Upper(text[i]);
    }
    return true;
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
    const size_t dot = diskName.find('.');
    const std::string_view base = diskName.substr(0, dot);
    const std::string_view ext =
        dot == std::string_view::npos ? std::string_view{} : diskName.substr(dot + 1);
    if (base.empty() || ext.find('.') != std::string_view::npos)
        return std::nullopt;
    if (dot != std::string_view::npos && ext.empty())
        return std::nullopt; // "NAME." is not how a FAT name is written
    ShortName out{};
    if (!FillField(base, out.data(), kNameLen) || !FillField(ext, out.data() + kNameLen, kExtLen))
        return std::nullopt;
    return out;
}

std::optional<ShortName> ParseShortName(std::span<const uint8_t, 11> bytes) {
    const auto base = FieldText(bytes.first<kNameLen>());
    const auto ext = FieldText(bytes.subspan<kNameLen, kExtLen>());
    if (!base || !ext || base->empty())
        return std::nullopt;
    ShortName out{};
    if (!FillField(*base, out.data(), kNameLen) || !FillField(*ext, out.data() + kNameLen, kExtLen))
        return std::nullopt;
    return out;
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
