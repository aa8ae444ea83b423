#pragma once
// A Prompts fake: records every message and question with its caption, answers from a script.

#include "app/seams/prompts.h"

#include <deque>
#include <vector>

namespace zarno::testing {

struct PromptRecord {
    enum Kind { Message, YesNo, Overwrite, Trace } kind;
    QString text;
    QString caption;
    PromptIcon icon = PromptIcon::None;
};

class RecordingPrompts final : public Prompts {
public:
    std::vector<PromptRecord> records;
    std::deque<bool> yesNoAnswers;                // answered in order; No when the script runs out
    std::deque<OverwriteAnswer> overwriteAnswers; // No when the script runs out

    void message(const QString& text, const QString& caption, PromptIcon icon) override {
        records.push_back({PromptRecord::Message, text, caption, icon});
    }
    bool askYesNo(const QString& text, const QString& caption) override {
        records.push_back({PromptRecord::YesNo, text, caption, PromptIcon::Question});
        if (yesNoAnswers.empty())
            return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    OverwriteAnswer askOverwrite(const QString& text, const QString& caption) override {
        records.push_back({PromptRecord::Overwrite, text, caption, PromptIcon::Question});
        if (overwriteAnswers.empty())
            return OverwriteAnswer::No;
        const OverwriteAnswer answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    void trace(const QString& line) override { records.push_back({PromptRecord::Trace, line, {}}); }

    // The texts of the messages and questions, in order (trace lines left out).
    std::vector<QString> texts() const {
        std::vector<QString> out;
        for (const auto& r : records)
            if (r.kind != PromptRecord::Trace)
                out.push_back(r.text);
        return out;
    }
};

} // namespace zarno::testing
