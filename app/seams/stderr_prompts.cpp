#include "app/seams/stderr_prompts.h"

#include <cstdio>

namespace zarno {

namespace {
void Print(const QString& caption, const QString& text, const char* suffix = "") {
    const QByteArray line = (caption.isEmpty() ? text : caption + ": " + text).toUtf8();
    std::fprintf(stderr, "%s%s\n", line.constData(), suffix);
}
} // namespace

void StderrPrompts::message(const QString& text, const QString& caption, PromptIcon) {
    Print(caption, text);
}

bool StderrPrompts::askYesNo(const QString& text, const QString& caption) {
    const bool yes = m_yesLeft > 0;
    if (yes)
        --m_yesLeft;
    Print(caption, text, yes ? " [yes]" : " [no]");
    return yes;
}

OverwriteAnswer StderrPrompts::askOverwrite(const QString& text, const QString& caption) {
    static const char* const kNames[] = {" [yes]", " [no]", " [yes to all]"};
    Print(caption, text, kNames[int(m_overwrite)]);
    return m_overwrite;
}

void StderrPrompts::trace(const QString&) {}

} // namespace zarno
