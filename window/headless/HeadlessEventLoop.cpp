#include "window/headless/HeadlessEventLoop.h"

#include <utility>

namespace window::headless {

void HeadlessEventLoop::post(std::function<void()> event) {
    m_events.push_back(std::move(event));
}

int HeadlessEventLoop::run() {
    while (!m_left && !m_events.empty()) {
        // Taken off the queue first: the event may post others.
        std::function<void()> event = std::move(m_events.front());
        m_events.pop_front();
        event();
    }
    m_events.clear();
    return m_left ? m_status : 0;
}

void HeadlessEventLoop::leave(int status) {
    if (!m_left) {
        m_left = true;
        m_status = status;
    }
}

}  // namespace window::headless
