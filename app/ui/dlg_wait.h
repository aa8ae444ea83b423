#pragma once
// The small borderless window shown while the instrument's disk information is read.

#include <QFrame>

namespace zarno {

class CDlgWait : public QFrame {
    Q_OBJECT
public:
    explicit CDlgWait(QWidget* parent = nullptr);
    // Shows it centred over its parent and paints it at once: the exchange that follows runs its
    // own event loop, but the window should be there before the first message goes out.
    void popUp();
};

} // namespace zarno
