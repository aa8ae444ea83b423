#pragma once
// What the program says to the user and asks of the user: message boxes, Yes/No questions, the
// three-button overwrite question, and trace lines. The GUI answers with message boxes, the CLI on
// standard error with an answer policy, tests with a recording fake that holds scripted answers.

#include <QString>

namespace zarno {

// The caption of the program's own boxes and questions, and its main window's title.
inline constexpr const char* kAppCaption = "Zarno";

enum class PromptIcon { None, Information, Warning, Stop, Question };

enum class OverwriteAnswer { Yes, No, YesToAll };

class Prompts {
public:
    virtual ~Prompts() = default;
    // A box with an OK button.
    virtual void message(const QString& text, const QString& caption, PromptIcon icon) = 0;
    // A Yes/No question (questions ending in "Повторить?" among them); true for Yes.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    // "Да" / "Нет" / "Да для всех".
    virtual OverwriteAnswer askOverwrite(const QString& text, const QString& caption) = 0;
    // A line for the developer's trace output only.
    virtual void trace(const QString& line) = 0;
};

} // namespace zarno
