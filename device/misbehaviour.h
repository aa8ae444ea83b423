#pragma once
// Misbehaviour on purpose, so that every message and retry path of a client can be reached: commands
// that fail with a chosen status, and commands that get no answer, each for a number of times or
// for ever; an instrument that dies after a number of commands; answers that lie about a file's
// length or carry names from a damaged directory.

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

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
    // "CODE:COUNT": the instrument dies once it has answered the COUNT-th request with this code.
    bool AddDeath(std::string_view rule);
    // Whether the instrument dies after answering this request; uses up one of the rule's count.
    bool TakeDeath(uint16_t code);

    // Open answers claim this length for every file instead of its own.
    std::optional<uint32_t> openLength;
    // Listed names carry an escape character in place of their second letter.
    bool garbleNames = false;
    // Applies the two lies above to the answer of a request with this code.
    void Distort(uint16_t code, std::vector<uint8_t>& answer) const;

private:
    struct Rule {
        uint16_t status = 0;
        std::optional<uint32_t> remaining; // nothing: for ever
    };
    static bool Take(std::map<uint16_t, Rule>& rules, uint16_t code, uint16_t* status);

    std::map<uint16_t, Rule> m_failures;
    std::map<uint16_t, Rule> m_silences;
    std::map<uint16_t, uint32_t> m_deaths; // code -> requests left to answer
};

// A whole unsigned number, decimal or with a 0x prefix hexadecimal, no larger than max.
std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max);

} // namespace zarno::device
