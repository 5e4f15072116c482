#include "window/qt/EventLoop.h"

#include <QApplication>

namespace window::qt {

int QtEventLoop::run() {
    if (m_left) {
        return m_status;
    }
    m_window.show();
    const int status = QApplication::exec();
    // A window closed by the system ends exec() with 0, like Forget.
    return m_left ? m_status : status;
}

void QtEventLoop::leave(int status) {
    m_left = true;
    m_status = status;
    m_window.hide();
    // Without a running loop (start-up ends before run()) this does nothing,
    // and run() returns at once instead.
    QApplication::exit(status);
}

}  // namespace window::qt
