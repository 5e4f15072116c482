#pragma once

// The end of a session, for any host adapter.

#include <functional>
#include <string>

namespace host {
class SessionEnd;
}

namespace app {

// Ends `session` for the tool's exit status: a normal end (status 0) lets the
// adapter keep what the run changed, an end after an error report (any other
// status) lets it write nothing. A failure of the normal end is reported and
// turns the status into 1. Without a session (the adapter never opened) the
// status stands. Returns the process's exit status.
int finishSession(int status, host::SessionEnd* session,
                  const std::function<void(const std::string&)>& report);

// Ends `session` keeping nothing the run changed, as a dry run does: the
// adapter writes nothing (the same end as after an error, without a report).
// Without a session nothing happens.
void discardSession(host::SessionEnd* session);

}  // namespace app
