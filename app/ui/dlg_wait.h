#pragma once
// The small borderless window shown while the instrument's disk information is read.

#include "app/seams/prompts.h"

#include <QFrame>

#include <functional>

namespace zarno {

class CDlgWait : public QFrame {
    Q_OBJECT
public:
    explicit CDlgWait(QWidget* parent = nullptr);
    // Shows it centred over its parent and paints it at once: the exchange that follows runs its
    // own event loop, but the window should be there before the first message goes out.
    void popUp();
};

// The prompts of whatever runs while the wait window may be up: the window stays on top of
// everything, so it goes before a message or a question appears, never over the box's buttons.
class PromptsAboveWait final : public Prompts {
public:
    PromptsAboveWait(Prompts& inner, std::function<void()> closeWait)
        : m_inner(inner), m_closeWait(std::move(closeWait)) {}
    void message(const QString& text, const QString& caption, PromptIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    OverwriteAnswer askOverwrite(const QString& text, const QString& caption) override;
    void trace(const QString& line) override { m_inner.trace(line); }

private:
    Prompts& m_inner;
    std::function<void()> m_closeWait;
};

} // namespace zarno
