#include "window/win32/EventLoop.h"

#include <windows.h>

#include "window/win32/SkinWindow.h"

namespace window::win32 {

int Win32EventLoop::run() {
    if (m_left) {
        return m_status;
    }
    m_window.show();
    m_running = true;
    const int status = runMessageLoop();
    m_running = false;
    // A window closed by the system ends the loop with 0, like Forget.
    return m_left ? m_status : status;
}

void Win32EventLoop::leave(int status) {
    if (!m_left) {
        m_left = true;
        m_status = status;
        m_window.hide();
        // Before run() (start-up ended) there is no loop to end, and a quit
        // message left waiting would close the next message box at once.
        if (m_running) {
            PostQuitMessage(status);
        }
    }
}

}  // namespace window::win32
