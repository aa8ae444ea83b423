#pragma once
// Misbehaviour on purpose, so that every message and retry path of a client can be reached: commands
// that fail with a chosen status, and commands that get no answer, each for a number of times or
// for ever.

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

namespace zarno::device {

class Misbehaviour {
public:
    // "CODE=STATUS[:COUNT]": the next COUNT requests with this code (all of them without a count)
    // fail with STATUS. Numbers are decimal or 0x hexadecimal. False for a malformed rule.
    bool AddFailure(std::string_view rule);
    // "CODE[:COUNT]": the next COUNT requests with this code get no answer.
    bool AddSilence(std::string_view rule);

    // Whether this request is to fail, and with which status; uses up one of the rule's count.
    std::optional<uint16_t> TakeFailure(uint16_t code);
    // Whether this request is to stay unanswered; uses up one of the rule's count.
    bool TakeSilence(uint16_t code);

private:
    struct Rule {
        uint16_t status = 0;
        std::optional<uint32_t> remaining; // nothing: for ever
    };
    static bool Take(std::map<uint16_t, Rule>& rules, uint16_t code, uint16_t* status);

    std::map<uint16_t, Rule> m_failures;
    std::map<uint16_t, Rule> m_silences;
};

// A whole unsigned number, decimal or with a 0x prefix hexadecimal, no larger than max.
std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max);

} // namespace zarno::device
