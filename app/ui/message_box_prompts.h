#pragma once
// The program's Prompts on screen: message boxes and questions over the main window, trace lines to
// the debug output.

#include "app/seams/prompts.h"

class QWidget;

namespace zarno {

class MessageBoxPrompts final : public Prompts {
public:
    explicit MessageBoxPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& caption, PromptIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    OverwriteAnswer askOverwrite(const QString& text, const QString& caption) override;
    void trace(const QString& line) override;

private:
    QWidget* m_parent;
};

} // namespace zarno
