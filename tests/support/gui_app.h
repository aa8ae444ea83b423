#pragma once
// For window tests: one QApplication for the whole test program, and a way to act on a modal
// dialog, which only exists once the code under test has opened it inside exec().

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zarno::testing {

class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[12] = "zarno-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

// Runs `action` on the active modal widget once one of type T is up. It looks every 20 ms, for
// some ten seconds at most, so that a dialog that never opens fails the test instead of haunting
// the ones after it.
template <typename T> void WhenModal(const std::function<void(T*)>& action, int attempts = 500) {
    QTimer::singleShot(20, [action, attempts] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(w);
        else if (attempts > 0)
            WhenModal<T>(action, attempts - 1);
    });
}

} // namespace zarno::testing
