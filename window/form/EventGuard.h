#pragma once

// The one error path. Every window event runs inside run(): a failure becomes
// the error report and the end of the tool with status 1; an EndRequest ends
// it with its own status. Either way the guard then leaves the toolkit's event
// loop, and from then on it drops every event.

#include <exception>
#include <functional>
#include <string>

namespace window::form {

class EventGuard {
public:
    using Report = std::function<void(const std::string& message)>;
    // Leaves the toolkit's event loop with the status (EventLoop::leave).
    using Leave = std::function<void(int status)>;

    EventGuard(Report report, Leave leave);

    void run(const std::function<void()>& handler);

    bool ended() const { return m_ended; }
    int exitStatus() const { return m_exitStatus; }

private:
    void fail(const std::string& message);
    void finish(int status);

    Report m_report;
    Leave m_leave;
    bool m_ended = false;
    int m_exitStatus = 0;
};

// What the error report says about `error`: the tool's own failures speak for
// themselves; anything else is a fault of the tool, reported without the
// library's own wording ("bad optional access", "vector::_M_range_check").
std::string reportText(const std::exception& error);

}  // namespace window::form
