#include "window/form/EventGuard.h"

#include <new>

#include "host/HostError.h"
#include "preview/SheetFit.h"
#include "state/Errors.h"
#include "window/Toolkit.h"

namespace window::form {

namespace {

template <class... Errors>
bool isOneOf(const std::exception& error) {
    return (... || (dynamic_cast<const Errors*>(&error) != nullptr));
}

}  // namespace

std::string reportText(const std::exception& error) {
    if (isOneOf<host::HostError, ToolkitError, preview::SheetError, state::TableError,
                state::OverflowError, state::PrecisionError>(error)) {
        return error.what();
    }
    if (isOneOf<std::bad_alloc>(error)) {
        return "There is not enough memory for Quarvel to go on.";
    }
    return "Quarvel ran into a fault of its own and has to close.";
}

EventGuard::EventGuard(Report report, Leave leave)
    : m_report(std::move(report)), m_leave(std::move(leave)) {}

void EventGuard::run(const std::function<void()>& handler) {
    if (m_ended) {
        return;
    }
    try {
        handler();
    } catch (const EndRequest& end) {
        finish(end.status);
    } catch (const std::exception& error) {
        fail(reportText(error));
    }
}

void EventGuard::fail(const std::string& message) {
    // Ended before the report: the report's own event loop must not run
    // another handler.
    m_ended = true;
    m_report(message);
    finish(1);
}

void EventGuard::finish(int status) {
    m_ended = true;
    m_exitStatus = status;
    m_leave(status);
}

}  // namespace window::form
