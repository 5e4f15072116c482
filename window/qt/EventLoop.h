#pragma once

// The toolkit's event loop over QApplication (window/Toolkit.h). Leaving it
// hides the window at once; QApplication::exit then ends exec() once the
// running handler returns, and the event guard drops whatever Qt still
// delivers before that.

#include <QWidget>

#include "window/Toolkit.h"

namespace window::qt {

class QtEventLoop : public EventLoop {
public:
    explicit QtEventLoop(QWidget& window) : m_window(window) {}

    int run() override;
    void leave(int status) override;

private:
    QWidget& m_window;
    bool m_left = false;
    int m_status = 0;
};

}  // namespace window::qt
