#pragma once

// What ending the tool writes to the user's files.

#include <functional>
#include <string>

namespace host::sla {
class SlaHost;
}

namespace app {

// A normal end (status 0) saves every document the session changed; an end
// after an error report writes nothing. A save that fails is reported and
// turns the status into 1. Returns the process's exit status.
int finishSession(int status, host::sla::SlaHost* documents,
                  const std::function<void(const std::string&)>& report);

}  // namespace app
