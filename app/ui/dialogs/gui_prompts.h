#pragma once
// The desktop program's answers to Prompts: message boxes, Yes/No questions, the overwrite question
// box, and trace lines on the debug output.

#include "app/seams/prompts.h"

class QWidget;

namespace zarno {

class GuiPrompts final : public Prompts {
public:
    explicit GuiPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    // Boxes open over this window (the main frame, once it exists).
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& caption, PromptIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    OverwriteAnswer askOverwrite(const QString& text, const QString& caption) override;
    void trace(const QString& line) override;

private:
    QWidget* m_parent;
};

} // namespace zarno
