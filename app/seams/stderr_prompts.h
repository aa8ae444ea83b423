#pragma once
// Prompts for the command line: messages on standard error; Yes/No questions answered Yes up to a
// number of times, then No (so a retry question cannot loop for ever); overwrite questions answered
// by a fixed choice.

#include "app/seams/prompts.h"

namespace zarno {

class StderrPrompts final : public Prompts {
public:
    explicit StderrPrompts(int yesAnswers = 0, OverwriteAnswer overwrite = OverwriteAnswer::No)
        : m_yesLeft(yesAnswers), m_overwrite(overwrite) {}

    void message(const QString& text, const QString& caption, PromptIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    OverwriteAnswer askOverwrite(const QString& text, const QString& caption) override;
    void trace(const QString& line) override;

    // Lets a caller start a fresh allowance of Yes answers (one per operation, say).
    void setYesAnswers(int count) { m_yesLeft = count; }

private:
    int m_yesLeft;
    OverwriteAnswer m_overwrite;
};

} // namespace zarno
