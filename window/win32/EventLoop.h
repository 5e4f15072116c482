#pragma once

// The toolkit's event loop over the thread's Win32 message queue
// (window/Toolkit.h). Leaving it hides the window at once and posts the quit
// message, which ends the loop once the running handler has returned; the
// event guard drops whatever the system still delivers before that.

#include "window/Toolkit.h"

namespace window::win32 {

class SkinWindow;

class Win32EventLoop : public EventLoop {
public:
    explicit Win32EventLoop(SkinWindow& window) : m_window(window) {}

    int run() override;
    void leave(int status) override;

private:
    SkinWindow& m_window;
    bool m_left = false;
    bool m_running = false;
    int m_status = 0;
};

}  // namespace window::win32
