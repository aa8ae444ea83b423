#include "device/misbehaviour.h"

#include "app/remotedisk/disk_protocol.h"
#include "app/remotedisk/wire_fields.h"

#include <charconv>

namespace zarno::device {
namespace {

// Splits "A:B" into A and an optional count B (at least 1).
bool SplitCount(std::string_view text, std::string_view* head, std::optional<uint32_t>* count) {
    const size_t colon = text.find(':');
    *head = text.substr(0, colon);
    if (colon == std::string_view::npos)
        return true;
    const auto n = ParseNumber(text.substr(colon + 1), UINT32_MAX);
    if (!n || *n == 0)
        return false;
    *count = static_cast<uint32_t>(*n);
    return true;
}

} // namespace

std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

bool Misbehaviour::AddFailure(std::string_view rule) {
    const size_t eq = rule.find('=');
    if (eq == std::string_view::npos)
        return false;
    std::string_view statusText;
    Rule r;
    const auto code = ParseNumber(rule.substr(0, eq), UINT16_MAX);
    if (!code || !SplitCount(rule.substr(eq + 1), &statusText, &r.remaining))
        return false;
    const auto status = ParseNumber(statusText, UINT16_MAX);
    if (!status)
        return false;
    r.status = static_cast<uint16_t>(*status);
    m_failures[static_cast<uint16_t>(*code)] = r;
    return true;
}

bool Misbehaviour::AddSilence(std::string_view rule) {
    std::string_view codeText;
    Rule r;
    if (!SplitCount(rule, &codeText, &r.remaining))
        return false;
    const auto code = ParseNumber(codeText, UINT16_MAX);
    if (!code)
        return false;
    m_silences[static_cast<uint16_t>(*code)] = r;
    return true;
}

bool Misbehaviour::Take(std::map<uint16_t, Rule>& rules, uint16_t code, uint16_t* status) {
    const auto it = rules.find(code);
    if (it == rules.end())
        return false;
    *status = it->second.status;
    if (it->second.remaining && --*it->second.remaining == 0)
        rules.erase(it);
    return true;
}

std::optional<uint16_t> Misbehaviour::TakeFailure(uint16_t code) {
    uint16_t status = 0;
    if (!Take(m_failures, code, &status))
        return std::nullopt;
    return status;
}

bool Misbehaviour::TakeSilence(uint16_t code) {
    uint16_t unused = 0;
    return Take(m_silences, code, &unused);
}

bool Misbehaviour::AddDeath(std::string_view rule) {
    std::string_view codeText;
    std::optional<uint32_t> count;
    if (!SplitCount(rule, &codeText, &count) || !count)
        return false;
    const auto code = ParseNumber(codeText, UINT16_MAX);
    if (!code)
        return false;
    m_deaths[static_cast<uint16_t>(*code)] = *count;
    return true;
}

bool Misbehaviour::TakeDeath(uint16_t code) {
    const auto it = m_deaths.find(code);
    return it != m_deaths.end() && --it->second == 0;
}

void Misbehaviour::Distort(uint16_t code, std::vector<uint8_t>& answer) const {
    if (answer.size() < kStatusSize)
        return;
    const uint16_t status = wire::GetU16(answer, 0);
    if (openLength && code == kCodeOpen && status == kStatusOk && answer.size() >= kOpenLengthOffset + 4)
        wire::PutU32(answer, kOpenLengthOffset, *openLength);
    const bool listing = code == kCodeReadDirectory || code == kCodeReadDirectoryMore;
    if (!garbleNames || !listing || (status != kStatusOk && status != kStatusMore))
        return;
    for (size_t at = kStatusSize; at + kDirEntrySize <= answer.size(); at += kDirEntrySize)
        if (answer[at] != '.' && answer[at + 1] != ' ')
            answer[at + 1] = 0x1B;
}

} // namespace zarno::device
