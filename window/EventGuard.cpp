#include "window/EventGuard.h"

#include <exception>

#include "window/Toolkit.h"

namespace window {

EventGuard::EventGuard(Report report, Terminate terminate)
    : m_report(std::move(report)), m_terminate(std::move(terminate)) {}

void EventGuard::run(const std::function<void()>& handler) {
    if (m_ended) {
        return;
    }
    try {
        handler();
    } catch (const EndRequest& end) {
        finish(end.status);
    } catch (const std::exception& error) {
        // Ended before the report: the report's own event loop must not run
        // another handler.
        m_ended = true;
        m_report(error.what());
        finish(1);
    }
}

void EventGuard::finish(int status) {
    m_ended = true;
    m_exitStatus = status;
    m_terminate(status);
}

}  // namespace window
