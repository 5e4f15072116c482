#pragma once

// The message filter a desktop automation client installs on its thread: a call the host rejects
// because it is busy (rejected, or retry later) is sent again until the wait has passed.

#include <chrono>

#include "host/com/ComTypes.h"

namespace host::com {

ComPtr<IMessageFilter> makeBusyFilter(std::chrono::milliseconds busyWait);

}  // namespace host::com
