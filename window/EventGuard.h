#pragma once

// The one error path. Every window event runs inside run(): a failure becomes
// the error report and the end of the tool with status 1; an EndRequest ends
// it with its own status. Once ended, no later event runs.

#include <functional>
#include <string>

namespace window {

class EventGuard {
public:
    using Report = std::function<void(const std::string& message)>;
    // Ends the process; in tests it may return, and the guard then drops every later event.
    using Terminate = std::function<void(int status)>;

    EventGuard(Report report, Terminate terminate);

    void run(const std::function<void()>& handler);

    bool ended() const { return m_ended; }
    int exitStatus() const { return m_exitStatus; }

private:
    void finish(int status);

    Report m_report;
    Terminate m_terminate;
    bool m_ended = false;
    int m_exitStatus = 0;
};

}  // namespace window
